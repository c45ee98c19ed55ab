#include "toolkit/controls/menu_selector.h"

#include "toolkit/controls/on_off_button.h"
#include "toolkit/controls/popup_list.h"
#include "toolkit/draw_context.h"
#include "toolkit/font.h"
#include "toolkit/page_manager.h"

#include <algorithm>

CCMenuSelector::CCMenuSelector(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                               int32_t bitmapId, CCPageObject* listener, uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, 0, 0, 0, listener, groupMask) {
    if (bitmapId != 0) setBackgroundBitmap(bitmapId);
}

CCMenuSelector::~CCMenuSelector() {
    if (list) list->detach();
}

void CCMenuSelector::addItem(std::string_view text) {
    items.emplace_back(text);
    setRange(minimum, minimum + int32_t(items.size()) - 1);
}

void CCMenuSelector::clearItems() {
    items.clear();
    setRange(minimum, minimum);
}

std::string CCMenuSelector::getText() const {
    const int32_t index = value - minimum;
    return index >= 0 && index < int32_t(items.size()) ? items[size_t(index)] : std::string();
}

void CCMenuSelector::drawContent(CCDrawContext& ctx) {
    drawSelectorFace(ctx, getText(), alignment);
}

int32_t CCMenuSelector::cursorAt(int32_t, int32_t) {
    return kCursorButton;
}

bool CCMenuSelector::openList() {
    CCPageManager* m = manager();
    if (!m || items.empty()) return false;
    const int32_t height = int32_t(items.size()) * CCPopupList::kRowHeight + 2;
    int32_t width = bounds.width();
    if (CCFontInterface* f = font())
        for (const std::string& item : items)
            width = std::max(width, f->textWidth(item) + 14);
    const CCRect& area = m->getBounds();
    CCRect r = CCRect::fromSize({bounds.left, bounds.bottom}, width, height);
    // Above the selector when the list would leave the window below it.
    if (r.bottom > area.bottom && bounds.top - height >= area.top)
        r = r.offset(0, -(height + bounds.height()));
    if (r.right > area.right) r = r.offset(std::max(area.right - r.right, area.left - r.left), 0);
    r = r.offset(-area.left, -area.top);
    auto panel = std::make_unique<CCPopupList>(*this, r);
    CCPopupList* raw = panel.get();
    m->showModal(std::move(panel));
    list = raw;
    return true;
}

void CCMenuSelector::choose(int32_t index) {
    if (index < 0 || index >= int32_t(items.size())) return;
    setValue(minimum + index, Notify::yes, Redraw::yes, SelfOnly::yes);
}

bool CCMenuSelector::onControlMouse(CCMouseMsg& msg) {
    const CCPoint point{msg.x, msg.y};
    switch (msg.code) {
    case kMsgLeftDown:
        if (!CCPageObject::hitTest(point)) return false;
        openList();
        return true;
    case kMsgWheel:
        if (!CCPageObject::hitTest(point)) return false;
        // Away from the player raises the value, as on every control; no
        // delta counts as toward.
        setValue(msg.first <= 0 ? value - 1 : value + 1, Notify::yes, Redraw::yes, SelfOnly::yes);
        return true;
    default:
        return false;
    }
}
