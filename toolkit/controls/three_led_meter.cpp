#include "toolkit/controls/three_led_meter.h"

#include "toolkit/bitmap_registry.h"
#include "toolkit/controls/meter_drawing.h"
#include "toolkit/draw_context.h"

namespace {

// Thresholds in tenths of the range for the second and third lamp.
constexpr int32_t kSecondLamp = 5;
constexpr int32_t kThirdLamp = 9;

} // namespace

CC3LEDMeter::CC3LEDMeter(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                         int32_t stripId, int32_t minimum, int32_t maximum, CCPageObject* listener,
                         uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, minimum, maximum, minimum, listener, groupMask) {
    if (stripId != 0) strip = acquireStripByCount(stripId, 4);
}

CC3LEDMeter::~CC3LEDMeter() {
    if (strip) releaseBitmap(strip);
}

int32_t CC3LEDMeter::litFor(int32_t level) const {
    const int32_t tenths = meterFill(level, minimum, maximum, 10);
    if (tenths >= kThirdLamp) return 3;
    if (tenths >= kSecondLamp) return 2;
    return level > minimum ? 1 : 0;
}

void CC3LEDMeter::drawContent(CCDrawContext& ctx) {
    if (strip) ctx.drawFrame(*strip, {bounds.left, bounds.top}, litFor(value));
}

bool CC3LEDMeter::onControlMessage(CCMsg& msg) {
    if (msg.code == kMsgSetValue) return applyMeterLevel(*this, msg, echoExternal != 0);
    return false;
}
