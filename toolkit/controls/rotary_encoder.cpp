#include "toolkit/controls/rotary_encoder.h"

#include "toolkit/bitmap.h"
#include "toolkit/draw_context.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kDegreesPerRadian = 57.29579;

} // namespace

CCRotaryEncoder::CCRotaryEncoder(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                                 int32_t stripId, int32_t initial, CCPageObject* listener, int32_t offset,
                                 uint16_t groupMask)
    : CCPotControl(tag, left, top, right, bottom, 0, 359, stripId, initial, listener, groupMask),
      angleOffset(offset) {
    setWrap(true);
}

int32_t CCRotaryEncoder::encoderFrame(int32_t v) const {
    if (!strip || maximum == minimum) return 0;
    int32_t a = v - angleOffset;
    if (a < 0) a += 360;
    const int32_t count = strip->getFrameCount();
    return int32_t(int64_t(count) * (a - minimum) / (maximum - minimum)) % count;
}

void CCRotaryEncoder::drawContent(CCDrawContext& ctx) {
    frame = uint16_t(encoderFrame(value));
    if (strip) ctx.drawFrame(*strip, {bounds.left + stripOffset, bounds.top}, frame);
}

float CCRotaryEncoder::positionToValue(int32_t x, int32_t y) {
    double t = 0;
    if (!pointerAngle(x, y, t)) return lastPosition;
    double g = 90.0 - angleOffset + t * kDegreesPerRadian;
    if (g < 0) g += 360.0;
    // Straight below the centre the angle comes out as a full turn; it is 0.
    if (g >= 360.0) g -= 360.0;
    // Over the control's own range (359), so that the value the drag applies
    // (fromNormalised) is the pointer's angle in whole degrees; over 360 it
    // would come out up to a degree short (270 as 269).
    return float(g / range);
}
