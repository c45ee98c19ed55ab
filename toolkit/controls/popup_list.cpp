#include "toolkit/controls/popup_list.h"

#include "toolkit/controls/menu_selector.h"
#include "toolkit/draw_context.h"
#include "toolkit/font.h"
#include "toolkit/palette.h"

namespace {

constexpr CCColour kListBody = palette::kListBody;
constexpr CCColour kListFrame = palette::kFrame;
constexpr CCColour kRowHover = palette::kRowSelected;
constexpr CCColour kCurrentMark = palette::kAmber;

} // namespace

CCPopupList::CCPopupList(CCMenuSelector& owner, CCRect r)
    : CCModalPanel(r.left, r.top, r.right, r.bottom, 0, 2), selector(&owner) {}

CCPopupList::~CCPopupList() {
    if (selector && selector->list == this) selector->list = nullptr;
}

int32_t CCPopupList::rowAt(CCPoint point) const {
    if (!selector || !bounds.contains(point)) return -1;
    int32_t row = (point.y - bounds.top - 1) / kRowHeight;
    return row >= 0 && row < selector->itemCount() ? row : -1;
}

void CCPopupList::drawContent(CCDrawContext& ctx) {
    ctx.fillRect(bounds, kListBody);
    ctx.fillRect({bounds.left, bounds.top, bounds.right, bounds.top + 1}, kListFrame);
    ctx.fillRect({bounds.left, bounds.bottom - 1, bounds.right, bounds.bottom}, kListFrame);
    ctx.fillRect({bounds.left, bounds.top, bounds.left + 1, bounds.bottom}, kListFrame);
    ctx.fillRect({bounds.right - 1, bounds.top, bounds.right, bounds.bottom}, kListFrame);
    if (!selector) return;
    CCFontInterface* f = font();
    const int32_t current = selector->getValue() - selector->getMinimum();
    for (int32_t i = 0; i < selector->itemCount(); ++i) {
        CCRect row{bounds.left + 1, bounds.top + 1 + i * kRowHeight, bounds.right - 1,
                   bounds.top + 1 + (i + 1) * kRowHeight};
        if (i == hoverRow) ctx.fillRect(row, kRowHover);
        if (i == current) ctx.fillRect({row.left + 2, row.top + 5, row.left + 6, row.top + 9}, kCurrentMark);
        if (f)
            f->drawText(ctx, selector->getItems()[size_t(i)],
                        {row.left + 10, row.top, row.right - 2, row.bottom}, kAlignLeft);
    }
}

bool CCPopupList::onControlMouse(CCMouseMsg& msg) {
    const CCPoint point{msg.x, msg.y};
    switch (msg.code) {
    case kMsgMouseMove: {
        int32_t row = rowAt(point);
        if (row != hoverRow) {
            hoverRow = row;
            invalidate(true);
        }
        return true;
    }
    case kMsgLeftDown: {
        int32_t row = rowAt(point);
        CCMenuSelector* owner = selector;
        // The manager keeps a panel that closes during a dispatch alive until the
        // dispatch returns, so closing here is safe.
        close();
        if (owner && row >= 0) owner->choose(row);
        return true;
    }
    default:
        return false;
    }
}
