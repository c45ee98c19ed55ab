#include "app/base_window.h"

#include "app/window_placement.h"
#include "platform/gtk/gtk_main_window.h"
#include "platform/settings_store.h"

namespace {

constexpr std::string_view kKeyPath = "SOFTWARE\\Plavik\\Tovan\\1.00";

} // namespace

CBaseWindow::CBaseWindow() : positionValueName(std::string("MainWindow") + "_p") {}

CBaseWindow::~CBaseWindow() {
    DestroySystemWindow();
}

GtkMainWindow* CBaseWindow::Create(std::string_view title) {
    if (window) return window.get();
    window = std::make_unique<GtkMainWindow>(width, height, title);
    window->moveTo({x, y});
    if (!restorePosition() && centreIfNotRestored) {
        const CCRect area = window->workArea();
        const CCPoint at = placement::centre({width, height}, {area.width(), area.height()});
        window->moveTo({area.left + at.x, area.top + at.y});
    }
    Created();
    return window.get();
}

bool CBaseWindow::restorePosition() {
    const auto stored = settingsStore().read(kKeyPath, positionValueName);
    const auto number = stored ? stored->asNumber() : std::nullopt;
    if (!number || stored->type != SettingType::Number) return false;
    const CCRect area = window->workArea();
    const CCPoint at = placement::restore(*number, {width, height}, {area.width(), area.height()});
    window->moveTo({area.left + at.x, area.top + at.y});
    return true;
}

void CBaseWindow::savePosition() {
    if (!window) return;
    const CCPoint at = window->position();
    settingsStore().write(kKeyPath, positionValueName, SettingValue::number(placement::pack(at)));
}

void CBaseWindow::DestroySystemWindow() {
    if (!window) return;
    savePosition();
    window.reset();
}
