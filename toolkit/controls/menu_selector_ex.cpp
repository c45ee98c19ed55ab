#include "toolkit/controls/menu_selector_ex.h"

#include "toolkit/controls/on_off_button.h"
#include "toolkit/draw_context.h"
#include "toolkit/font.h"
#include "toolkit/window_host.h"

#include <algorithm>

bool CCMenuList::addItem(std::string_view text, int32_t value) {
    if (value < 0 || value > kMenuValueLimit) return false;
    entries.push_back(CCMenuItem{std::string(text), value, nullptr});
    return true;
}

void CCMenuList::addSeparator() {
    entries.push_back(CCMenuItem{{}, kMenuSeparator, nullptr});
}

CCMenuList& CCMenuList::addSubList(std::string_view title) {
    entries.push_back(CCMenuItem{std::string(title), kMenuSeparator, std::make_unique<CCMenuList>()});
    return *entries.back().subList;
}

const CCMenuItem* CCMenuList::findValue(int32_t value) const {
    for (const CCMenuItem& item : entries) {
        if (item.subList) {
            if (const CCMenuItem* found = item.subList->findValue(value)) return found;
        } else if (!item.isSeparator() && item.value == value) {
            return &item;
        }
    }
    return nullptr;
}

void CCMenuList::collectValues(std::vector<int32_t>& out) const {
    for (const CCMenuItem& item : entries) {
        if (item.subList)
            item.subList->collectValues(out);
        else if (!item.isSeparator())
            out.push_back(item.value);
    }
}

namespace {

void buildLevel(const CCMenuList& list, int32_t current, std::vector<int32_t>& values,
                std::vector<PopupMenuItem>& out) {
    for (const CCMenuItem& item : list.items()) {
        PopupMenuItem entry;
        entry.text = item.text;
        if (item.subList) {
            entry.command = -1;
            buildLevel(*item.subList, current, values, entry.submenu);
        } else if (item.isSeparator()) {
            entry.separator = true;
            entry.command = -1;
        } else {
            entry.command = int32_t(values.size());
            entry.checked = item.value == current;
            values.push_back(item.value);
        }
        out.push_back(std::move(entry));
    }
}

} // namespace

CCMenuSelectorEx::CCMenuSelectorEx(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                                   int32_t bitmapId, CCPageObject* listener, uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, 0, 0, 0, listener, groupMask) {
    if (bitmapId != 0) setBackgroundBitmap(bitmapId);
}

std::string CCMenuSelectorEx::getText() const {
    const CCMenuItem* item = root.findValue(value);
    return item ? item->text : std::string();
}

void CCMenuSelectorEx::drawContent(CCDrawContext& ctx) {
    drawSelectorFace(ctx, getText(), alignment);
}

int32_t CCMenuSelectorEx::cursorAt(int32_t, int32_t) {
    return kCursorButton;
}

std::vector<PopupMenuItem> CCMenuSelectorEx::buildPopup(std::vector<int32_t>& values) const {
    std::vector<PopupMenuItem> out;
    values.clear();
    buildLevel(root, value, values, out);
    return out;
}

bool CCMenuSelectorEx::openMenu() {
    std::vector<int32_t> values;
    std::vector<PopupMenuItem> items = buildPopup(values);
    if (values.empty()) return false;
    CCPoint at{bounds.left, bounds.bottom};
    if (CCWindowHost* w = window()) at = w->clientToScreen(at);
    std::optional<int32_t> chosen = popupMenuHost().trackPopupMenu(items, at.x, at.y);
    if (!chosen || *chosen < 0 || *chosen >= int32_t(values.size())) return false;
    setValue(values[size_t(*chosen)], Notify::yes, Redraw::yes, SelfOnly::yes);
    return true;
}

bool CCMenuSelectorEx::onControlMouse(CCMouseMsg& msg) {
    const CCPoint point{msg.x, msg.y};
    switch (msg.code) {
    case kMsgLeftDown:
        if (!CCPageObject::hitTest(point)) return false;
        openMenu();
        return true;
    case kMsgWheel: {
        if (!CCPageObject::hitTest(point)) return false;
        std::vector<int32_t> values;
        root.collectValues(values);
        if (values.empty()) return true;
        auto it = std::find(values.begin(), values.end(), value);
        size_t index = 0;
        if (it != values.end()) {
            index = size_t(it - values.begin());
            // Away from the player moves on to the next item (a higher value).
            if (msg.first > 0 && index + 1 < values.size())
                ++index;
            else if (msg.first <= 0 && index > 0)
                --index;
        }
        setValue(values[index], Notify::yes, Redraw::yes, SelfOnly::yes);
        return true;
    }
    default:
        return false;
    }
}
