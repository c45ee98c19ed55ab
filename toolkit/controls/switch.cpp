#include "toolkit/controls/switch.h"

#include "toolkit/bitmap_registry.h"
#include "toolkit/cursor.h"
#include "toolkit/draw_context.h"

#include <algorithm>

CCSwitch::CCSwitch(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t stripId,
                   int32_t count, int32_t initial, CCPageObject* listener, uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, 0, std::max(count, 1) - 1, initial, listener, groupMask),
      positions(std::max(count, 1)) {
    if (stripId != 0) strip = acquireStripByCount(stripId, positions);
}

CCSwitch::~CCSwitch() {
    if (strip) releaseBitmap(strip);
}

int32_t CCSwitch::positionLength() const {
    return std::max((isHorizontal() ? bounds.width() : bounds.height()) / positions, 1);
}

int32_t CCSwitch::positionAt(CCPoint point) const {
    const int32_t along = isHorizontal() ? point.x - bounds.left : point.y - bounds.top;
    return std::clamp(along / positionLength(), 0, positions - 1);
}

CCPoint CCSwitch::positionCentre(int32_t position) const {
    const int32_t middle = position * positionLength() + positionLength() / 2;
    if (isHorizontal()) return {bounds.left + middle, bounds.top + bounds.height() / 2};
    return {bounds.left + bounds.width() / 2, bounds.top + middle};
}

void CCSwitch::drawContent(CCDrawContext& ctx) {
    // A value the strip has no frame for draws nothing rather than a wrong lever.
    if (strip && value >= 0 && value < strip->getFrameCount())
        ctx.drawFrame(*strip, {bounds.left, bounds.top}, value);
}

int32_t CCSwitch::cursorAt(int32_t, int32_t) {
    if (!isEnabled()) return kCursorArrow;
    return isHorizontal() ? kCursorWestEast : kCursorNorthSouth;
}

bool CCSwitch::onControlMouse(CCMouseMsg& msg) {
    switch (msg.code) {
    case kMsgLeftDown:
        if (!CCPageObject::hitTest({msg.x, msg.y})) return false;
        captureMouse(true);
        setValue(positionAt({msg.x, msg.y}), Notify::yes, Redraw::yes, SelfOnly::yes);
        pressScreenX = msg.screenX;
        pressScreenY = msg.screenY;
        pressValue = value;
        hideCursorAt(window(), msg.screenX, msg.screenY);
        return true;
    case kMsgMouseMove: {
        if (!hasCapture()) return false;
        const int32_t moved = isHorizontal() ? msg.screenX - pressScreenX : msg.screenY - pressScreenY;
        setValue(pressValue + moved / positionLength(), Notify::yes, Redraw::yes, SelfOnly::yes);
        return true;
    }
    case kMsgLeftUp: {
        if (!hasCapture()) return false;
        captureMouse(false);
        const CCPoint centre = positionCentre(value);
        showCursorAtClient(window(), centre.x, centre.y);
        return true;
    }
    default:
        return false;
    }
}
