#include "toolkit/controls/scroller.h"

#include "toolkit/bitmap_registry.h"
#include "toolkit/controls/scrolling_panel.h"
#include "toolkit/draw_context.h"

#include <algorithm>

CCScroller::CCScroller(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t trackId,
                       int32_t thumbId, CCPageObject* listener, uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, 0, 0, 0, listener, groupMask) {
    if (trackId != 0) setBackgroundBitmap(trackId);
    if (thumbId != 0) thumb = acquireBitmap(thumbId);
}

CCScroller::~CCScroller() {
    // Whichever of the two goes first unlinks the other.
    if (follower) follower->attachScroller(nullptr);
    if (thumb) releaseBitmap(thumb);
}

void CCScroller::setPage(int32_t shown, int32_t all) {
    visible = std::max(shown, 1);
    total = std::max(all, visible);
    setRange(0, total - visible);
    setValue(value, Notify::no, Redraw::yes, SelfOnly::yes);
    invalidate(true);
}

int32_t CCScroller::thumbLength() const {
    const int32_t full = length();
    const int32_t share = int32_t(int64_t(full) * visible / total);
    return std::clamp(share, std::min(kMinimumThumb, full), full);
}

CCRect CCScroller::thumbRect() const {
    const int32_t free = length() - thumbLength();
    const int32_t offset = maximum > 0 ? int32_t(int64_t(value) * free / maximum) : 0;
    if (isVertical())
        return {bounds.left, bounds.top + offset, bounds.right, bounds.top + offset + thumbLength()};
    return {bounds.left + offset, bounds.top, bounds.left + offset + thumbLength(), bounds.bottom};
}

void CCScroller::drawContent(CCDrawContext& ctx) {
    if (CCBitmap* track = getBackgroundBitmap()) ctx.drawBitmap(*track, {bounds.left, bounds.top});
    // Nothing to scroll: no thumb.
    if (!thumb || maximum <= 0) return;
    const CCRect t = thumbRect();
    const int32_t w = thumb->getWidth();
    const int32_t h = thumb->getHeight();
    if (isVertical()) {
        const int32_t cap = std::min(h / 3, t.height() / 2);
        ctx.drawBitmap(*thumb, {t.left, t.top}, {0, 0}, {w, cap});
        ctx.drawImageScaled(*thumb, {t.left, t.top + cap, t.left + w, t.bottom - cap}, {0, cap, w, h - cap});
        ctx.drawBitmap(*thumb, {t.left, t.bottom - cap}, {0, h - cap}, {w, cap});
        return;
    }
    const int32_t cap = std::min(w / 3, t.width() / 2);
    ctx.drawBitmap(*thumb, {t.left, t.top}, {0, 0}, {cap, h});
    ctx.drawImageScaled(*thumb, {t.left + cap, t.top, t.right - cap, t.top + h}, {cap, 0, w - cap, h});
    ctx.drawBitmap(*thumb, {t.right - cap, t.top}, {w - cap, 0}, {cap, h});
}

int32_t CCScroller::cursorAt(int32_t, int32_t) {
    return kCursorArrow;
}

bool CCScroller::onControlMouse(CCMouseMsg& msg) {
    const CCPoint point{msg.x, msg.y};
    const int32_t along = isVertical() ? msg.y : msg.x;
    switch (msg.code) {
    case kMsgLeftDown: {
        if (!CCPageObject::hitTest(point)) return false;
        const CCRect t = thumbRect();
        if (t.contains(point)) {
            captureMouse(true);
            dragging = true;
            pressAlong = along;
            pressValue = value;
        } else {
            const bool before = isVertical() ? msg.y < t.top : msg.x < t.left;
            setValue(before ? value - visible : value + visible, Notify::yes, Redraw::yes, SelfOnly::yes);
        }
        return true;
    }
    case kMsgMouseMove: {
        if (!dragging) return false;
        const int32_t free = length() - thumbLength();
        if (free <= 0) return true;
        const int64_t moved = int64_t(along - pressAlong) * maximum / free;
        setValue(int32_t(std::clamp<int64_t>(pressValue + moved, 0, maximum)), Notify::yes, Redraw::yes,
                 SelfOnly::yes);
        return true;
    }
    case kMsgLeftUp:
        if (!dragging) return false;
        dragging = false;
        captureMouse(false);
        return true;
    case kMsgWheel:
        if (!CCPageObject::hitTest(point)) return false;
        setValue(msg.first > 0 ? value - lineStep : value + lineStep, Notify::yes, Redraw::yes,
                 SelfOnly::yes);
        return true;
    default:
        return false;
    }
}
