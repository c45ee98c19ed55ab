#include "toolkit/controls/slider.h"

#include "toolkit/bitmap_registry.h"
#include "toolkit/cursor.h"
#include "toolkit/draw_context.h"
#include "toolkit/window_host.h"

#include <algorithm>

CCSlider::CCSlider(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t minimum,
                   int32_t maximum, int32_t trackId, int32_t handleId, int32_t initial,
                   CCPageObject* listener, uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, minimum, maximum, initial, listener, groupMask) {
    if (trackId != 0) setBackgroundBitmap(trackId);
    if (handleId != 0) handle = acquireBitmap(handleId);
}

CCSlider::~CCSlider() {
    if (handle) releaseBitmap(handle);
}

CCSize CCSlider::handleSize() const {
    return handle ? CCSize{handle->getWidth(), handle->getHeight()} : kDefaultHandle;
}

int32_t CCSlider::travel() const {
    const CCSize h = handleSize();
    const int32_t length = horizontal ? bounds.width() - h.width : bounds.height() - h.height;
    return std::max(length - 2 * stepAreaSize, 0);
}

int32_t CCSlider::travelOffset(int32_t v) const {
    if (maximum == minimum) return 0;
    const int64_t share = int64_t(std::clamp(v, minimum, maximum) - minimum) * travel();
    return int32_t(share / (int64_t(maximum) - minimum));
}

CCRect CCSlider::handleRect(int32_t v) const {
    const CCSize h = handleSize();
    const int32_t along = stepAreaSize + travelOffset(v);
    if (horizontal)
        return CCRect::fromSize({bounds.left + along, bounds.top + (bounds.height() - h.height) / 2}, h.width,
                                h.height);
    return CCRect::fromSize({bounds.left + (bounds.width() - h.width) / 2, bounds.bottom - along - h.height},
                            h.width, h.height);
}

CCRect CCSlider::stepArea(int32_t index) const {
    const CCRect& b = bounds;
    const int32_t s = stepAreaSize;
    if (horizontal)
        return index == 0 ? CCRect{b.right - s, b.top, b.right, b.bottom}
                          : CCRect{b.left, b.top, b.left + s, b.bottom};
    return index == 0 ? CCRect{b.left, b.top, b.right, b.top + s}
                      : CCRect{b.left, b.bottom - s, b.right, b.bottom};
}

int32_t CCSlider::stepAreaAt(CCPoint point) const {
    if (stepAreaSize <= 0) return -1;
    for (int32_t i = 0; i < 2; ++i)
        if (stepArea(i).contains(point)) return i;
    return -1;
}

void CCSlider::drawContent(CCDrawContext& ctx) {
    if (CCBitmap* track = getBackgroundBitmap()) ctx.drawBitmap(*track, {bounds.left, bounds.top});
    if (!handle) return;
    const CCRect h = handleRect(value);
    ctx.drawBitmap(*handle, {h.left, h.top});
}

int32_t CCSlider::cursorAt(int32_t, int32_t) {
    return isEnabled() ? kCursorNorthSouth : kCursorArrow;
}

void CCSlider::onDoubleClick(CCPoint point) {
    if (stepAreaAt(point) < 0) updateFromParameter();
}

void CCSlider::beginDrag(const CCMouseMsg& msg) {
    captureMouse(true);
    pressX = msg.x;
    pressY = msg.y;
    pressScreenX = msg.screenX;
    pressScreenY = msg.screenY;
    dragStartValue = value;
    dragPixels = 0;
    hideCursorAt(window(), msg.screenX, msg.screenY);
}

bool CCSlider::onControlMouse(CCMouseMsg& msg) {
    const CCPoint point{msg.x, msg.y};
    switch (msg.code) {
    case kMsgLeftDown: {
        if (!CCPageObject::hitTest(point)) return false;
        const int32_t area = stepAreaAt(point);
        if (area >= 0) {
            setValue(area == 0 ? value + 1 : value - 1, Notify::yes, Redraw::yes, SelfOnly::yes);
            return true;
        }
        beginDrag(msg);
        return true;
    }
    case kMsgMouseMove: {
        if (!hasCapture()) return false;
        const int32_t moved = horizontal ? msg.screenX - pressScreenX : pressScreenY - msg.screenY;
        const int32_t total = dragPixels + moved;
        // With a window the cursor goes back to the press point, so it never meets
        // the screen's edge; the travel so far is kept here instead.
        if (CCWindowHost* w = window(); w && moved != 0) {
            w->warpCursor({pressScreenX, pressScreenY});
            dragPixels = total;
        }
        const int64_t change = int64_t(total) * (int64_t(maximum) - minimum) / std::max(travel(), 1);
        setValue(int32_t(std::clamp<int64_t>(dragStartValue + change, minimum, maximum)), Notify::yes,
                 Redraw::yes, SelfOnly::yes);
        return true;
    }
    case kMsgLeftUp:
        if (!hasCapture()) return false;
        captureMouse(false);
        showCursorAt(window(), rememberedCursorPosition().x, rememberedCursorPosition().y);
        return true;
    case kMsgWheel:
        if (!CCPageObject::hitTest(point)) return false;
        setValue(msg.first > 0 ? value + 1 : value - 1, Notify::yes, Redraw::yes, SelfOnly::yes);
        return true;
    default:
        return false;
    }
}
