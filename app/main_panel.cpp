#include "app/main_panel.h"

#include "editor/editor_window.h"
#include "model/audio_effect.h"
#include "platform/gtk/gtk_main_window.h"
#include "platform/hid_backend.h"
#include "platform/settings_store.h"
#include "resources/resource_ids.h"
#include "toolkit/app_strings.h"
#include "toolkit/bitmap.h"
#include "toolkit/bitmap_registry.h"
#include "toolkit/toolkit.h"

namespace {

constexpr std::string_view kKeyPath = "SOFTWARE\\Plavik\\Tovan\\1.00";

} // namespace

CWin32Panel::CWin32Panel(tovan::HidBackend& hid, std::span<const uint8_t> image)
    : backend(hid), firmware(image) {
    width = CCEditor::kWidth;
    height = CCEditor::kHeight;
    centreIfNotRestored = true;
}

CWin32Panel::~CWin32Panel() {
    *alive = false;
    hotplug.reset();
    effect.reset();
    DestroySystemWindow();
}

CCEditor* CWin32Panel::editor() const {
    return effect ? static_cast<CCEditor*>(effect->ownedEditor()) : nullptr;
}

bool CWin32Panel::createMainWindow() {
    setAppString(kAppDisplayName, "Tovan");
    GtkMainWindow* host = Create("Plavik Tovan");
    if (host == nullptr) return false;
    if (const auto fast = settingsStore().read(kKeyPath, "EnableFastPlots");
        fast && fast->asNumber().value_or(0) != 0)
        setFastPlots(true);

    effect = std::make_unique<CAudioEffect>([this](CAudioEffect& owner) -> std::unique_ptr<AEffEditor> {
        return std::make_unique<CCEditor>(&owner, backend, firmware);
    });
    CCEditor* ed = editor();
    if (ed == nullptr) return false;
    host->setClient(ed);
    host->setCloseHandler([this] { close(); });
    ed->readPedalWhenShown();
    ed->Open(host);
    {
        auto lock = ed->lockRedraw();
        ed->redraw(*ed->drawContext(), nullptr);
    }
    useDrawnCursors(*host);
    host->updateShape();
    host->show();
    host->present();
    // Pedals plugged in or out while the editor runs are noticed at once; the
    // monitor calls from its own thread.
    hotplug = backend.watch([this, token = std::weak_ptr<bool>(alive), host] {
        host->runOnUiThread([this, token] {
            if (auto live = token.lock(); live && *live) devicesChanged();
        });
    });
    return true;
}

void CWin32Panel::useDrawnCursors(GtkMainWindow& host) {
    struct Shape {
        int32_t id;
        CCPoint hotSpot;
    };
    for (const Shape& shape :
         {Shape{resid::kCursorButtonImage, {8, 2}}, Shape{resid::kCursorLinearImage, {12, 12}},
          Shape{resid::kCursorCircularImage, {12, 12}}}) {
        CCBitmap* image = acquireBitmap(shape.id);
        if (image == nullptr) continue;
        if (image->getHasAlpha() && image->getHeight() > 1)
            host.setCursorImage(shape.id, image->row(0), image->getWidth(), image->getHeight(),
                                int32_t(image->row(1) - image->row(0)), shape.hotSpot);
        releaseBitmap(image);
    }
}

void CWin32Panel::Created() {
    // Files dropped on the window and the window's own events reach the editor
    // through its client side; nothing else to set up here.
}

void CWin32Panel::raise() {
    if (window) window->present();
}

void CWin32Panel::openFiles(const std::vector<std::string>& paths) {
    if (CCEditor* ed = editor(); ed != nullptr) ed->filesDropped(paths);
}

void CWin32Panel::devicesChanged() {
    if (CCEditor* ed = editor()) ed->devicesChanged();
}

void CWin32Panel::close() {
    hotplug.reset();
    if (CCEditor* ed = editor()) ed->Close();
    savePosition();
    if (window) window->setClient(nullptr);
    effect.reset();
    DestroySystemWindow();
}
