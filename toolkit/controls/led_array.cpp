#include "toolkit/controls/led_array.h"

#include "toolkit/bitmap_registry.h"
#include "toolkit/controls/meter_drawing.h"
#include "toolkit/draw_context.h"

CCLedArray::CCLedArray(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t stripId,
                       int32_t leds, int32_t step, int32_t minimum, int32_t maximum, CCPageObject* listener,
                       uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, minimum, maximum, minimum, listener, groupMask),
      count(leds > 0 ? leds : 1), spacing(step) {
    if (stripId != 0) strip = acquireStripByCount(stripId, 2);
}

CCLedArray::~CCLedArray() {
    if (strip) releaseBitmap(strip);
}

int32_t CCLedArray::litFor(int32_t v) const {
    return meterFill(v, minimum, maximum, count);
}

void CCLedArray::drawContent(CCDrawContext& ctx) {
    if (!strip) return;
    const int32_t lit = litFor(value);
    const int32_t top = bounds.top + (bounds.height() - strip->getHeight()) / 2;
    for (int32_t i = 0; i < count; ++i)
        ctx.drawFrame(*strip, {bounds.left + i * spacing, top}, i < lit ? 1 : 0);
}
