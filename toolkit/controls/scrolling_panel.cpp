#include "toolkit/controls/scrolling_panel.h"

#include "toolkit/controls/scroller.h"
#include "toolkit/draw_context.h"

#include <algorithm>
#include <climits>

namespace {

// Where a mouse message goes when it must reach no child.
constexpr int32_t kNowhere = INT32_MIN / 2;

} // namespace

CCScrollingPanel::CCScrollingPanel(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                                   CCPageObject* listener, uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, 0, 0, 0, listener, groupMask) {}

CCScrollingPanel::~CCScrollingPanel() {
    attachScroller(nullptr);
}

int32_t CCScrollingPanel::contentHeight() const {
    if (fixedHeight > 0) return fixedHeight;
    int32_t lowest = bounds.top;
    for (CCPageObject* c = getFirstChild(); c; c = c->getNextSibling())
        lowest = std::max(lowest, c->getBounds().bottom + shiftedBy);
    return lowest - bounds.top;
}

void CCScrollingPanel::contentChanged() {
    setRange(0, std::max(contentHeight() - bounds.height(), 0));
    setValue(value, Notify::yes, Redraw::yes, SelfOnly::no);
    updateScroller();
    invalidate(false);
}

void CCScrollingPanel::setContentHeight(int32_t pixels) {
    fixedHeight = std::max(pixels, 0);
    contentChanged();
}

void CCScrollingPanel::childAdded(CCPageObject* child) {
    // A child added while scrolled joins the contents where the others are.
    if (shiftedBy != 0) child->moveBy(0, -shiftedBy);
    contentChanged();
}

void CCScrollingPanel::attachScroller(CCScroller* bar) {
    if (scroller) {
        scroller->follower = nullptr;
        if (scroller->getListener() == this) scroller->setListener(nullptr);
    }
    scroller = bar;
    if (!bar) return;
    if (bar->follower && bar->follower != this) bar->follower->attachScroller(nullptr);
    bar->follower = this;
    bar->setListener(this);
    updateScroller();
}

void CCScrollingPanel::updateScroller() {
    if (!scroller) return;
    scroller->setPage(bounds.height(), std::max(contentHeight(), bounds.height()));
    scroller->setLineStep(lineStep);
    scroller->setValue(value, Notify::no, Redraw::yes, SelfOnly::yes);
}

void CCScrollingPanel::applyValue(int32_t v, Notify notify, Redraw redraw, SelfOnly, Force force) {
    // The panel is redrawn once the contents have moved, and as a whole.
    CControl::applyValue(v, notify, Redraw::no, SelfOnly::no, force);
    if (value == shiftedBy) return;
    const int32_t delta = value - shiftedBy;
    shiftedBy = value;
    for (CCPageObject* c = getFirstChild(); c; c = c->getNextSibling())
        c->moveBy(0, -delta);
    if (scroller) scroller->setValue(value, Notify::no, Redraw::yes, SelfOnly::yes);
    if (redraw == Redraw::yes && isShown() && isVisible()) invalidate(false);
}

void CCScrollingPanel::scrollToShow(int32_t top, int32_t bottom) {
    if (top < bounds.top)
        setValue(value - (bounds.top - top), Notify::yes, Redraw::yes, SelfOnly::no);
    else if (bottom > bounds.bottom)
        setValue(value + std::min(bottom - bounds.bottom, top - bounds.top), Notify::yes, Redraw::yes,
                 SelfOnly::no);
}

void CCScrollingPanel::drawContent(CCDrawContext& ctx) {
    if (fill.alpha != 0) ctx.fillRect(bounds, fill);
    if (CCBitmap* b = getBackgroundBitmap()) ctx.drawBitmap(*b, {bounds.left, bounds.top});
}

bool CCScrollingPanel::scrollByWheel(const CCMouseMsg& msg) {
    if (!CCPageObject::hitTest({msg.x, msg.y})) return false;
    setValue(msg.first > 0 ? value - lineStep : value + lineStep, Notify::yes, Redraw::yes, SelfOnly::no);
    return true;
}

bool CCScrollingPanel::deliverToChildren(CCMsg& msg) {
    CCMouseMsg* mouse = isMouseCode(msg.code) ? dynamic_cast<CCMouseMsg*>(&msg) : nullptr;
    if (!mouse) return CControl::deliverToChildren(msg);
    if (!bounds.contains({mouse->x, mouse->y})) {
        // A move still tells the children that the pointer is not over them.
        if (msg.code != kMsgMouseMove) return false;
        CCMouseMsg away = *mouse;
        away.x = away.y = kNowhere;
        return CControl::deliverToChildren(away);
    }
    if (CControl::deliverToChildren(msg)) return true;
    return msg.code == kMsgWheel && isEnabled() && scrollByWheel(*mouse);
}

bool CCScrollingPanel::onControlMessage(CCMsg& msg) {
    if (msg.code == kMsgValueChanged && scroller && msg.target == scroller) {
        setValue(msg.second, Notify::yes, Redraw::yes, SelfOnly::no);
        return true;
    }
    // Values of the contents pass on to the page.
    return msg.code == kMsgSetValue ? applySetValueMessage(msg) : false;
}
