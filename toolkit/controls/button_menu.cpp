#include "toolkit/controls/button_menu.h"

#include "platform/popup_menu.h"
#include "toolkit/bitmap_registry.h"
#include "toolkit/controls/on_off_button.h"
#include "toolkit/draw_context.h"
#include "toolkit/window_host.h"

namespace {

enum Frame : int32_t { kDisabled = 0, kRest = 1, kPressed = 2 };

} // namespace

CCButtonMenu::CCButtonMenu(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                           int32_t stripId, CCPageObject* listener, uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, 0, 0, 0, listener, groupMask) {
    if (stripId != 0) strip = acquireStripByCount(stripId, 3);
}

CCButtonMenu::~CCButtonMenu() {
    if (strip) releaseBitmap(strip);
}

void CCButtonMenu::addItem(std::string_view text) {
    items.emplace_back(text);
    setRange(0, int32_t(items.size()) - 1);
}

void CCButtonMenu::clearItems() {
    items.clear();
    setRange(0, 0);
}

int32_t CCButtonMenu::currentFrame() const {
    if (!isEnabled()) return kDisabled;
    return held ? kPressed : kRest;
}

void CCButtonMenu::drawContent(CCDrawContext& ctx) {
    if (strip) ctx.drawFrame(*strip, {bounds.left, bounds.top}, currentFrame());
}

int32_t CCButtonMenu::cursorAt(int32_t, int32_t) {
    return kCursorButton;
}

bool CCButtonMenu::openMenu() {
    if (items.empty()) return false;
    std::vector<PopupMenuItem> entries;
    for (size_t i = 0; i < items.size(); ++i)
        entries.push_back(PopupMenuItem{
            .text = items[i], .command = int32_t(i), .separator = false, .checked = false, .submenu = {}});
    CCPoint at{bounds.left, bounds.bottom};
    if (CCWindowHost* w = window()) at = w->clientToScreen(at);
    const std::optional<int32_t> chosen = popupMenuHost().trackPopupMenu(entries, at.x, at.y);
    if (!chosen || *chosen < 0 || *chosen >= int32_t(items.size())) return false;
    setValueForced(*chosen, Notify::yes, Redraw::yes, SelfOnly::yes);
    return true;
}

bool CCButtonMenu::onControlMouse(CCMouseMsg& msg) {
    switch (msg.code) {
    case kMsgLeftDown:
        if (!CCPageObject::hitTest({msg.x, msg.y})) return false;
        captureMouse(true);
        held = true;
        invalidate(true);
        openMenu();
        return true;
    case kMsgLeftUp:
        if (!held) return false;
        held = false;
        captureMouse(false);
        invalidate(true);
        return true;
    default:
        return false;
    }
}
