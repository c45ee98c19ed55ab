#include "toolkit/controls/meter.h"

#include "toolkit/bitmap_registry.h"
#include "toolkit/controls/meter_drawing.h"

CCMeter::CCMeter(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t backgroundId,
                 int32_t foregroundId, int32_t minimum, int32_t maximum, CCPageObject* listener,
                 uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, minimum, maximum, minimum, listener, groupMask) {
    if (backgroundId != 0) setBackgroundBitmap(backgroundId);
    if (foregroundId != 0) foreground = acquireBitmap(foregroundId);
}

CCMeter::~CCMeter() {
    if (foreground) releaseBitmap(foreground);
}

int32_t CCMeter::filledLength() const {
    const CCMeterLook look = meterLookFor(bounds, reversed());
    int32_t length = look.vertical ? bounds.height() : bounds.width();
    if (foreground) length = look.vertical ? foreground->getHeight() : foreground->getWidth();
    return meterFill(value, minimum, maximum, length);
}

void CCMeter::drawContent(CCDrawContext& ctx) {
    drawMeter(ctx, bounds, getBackgroundBitmap(), foreground, filledLength(),
              meterLookFor(bounds, reversed()));
}

bool CCMeter::onControlMessage(CCMsg& msg) {
    if (msg.code == kMsgSetValue) return applyMeterLevel(*this, msg, echoExternal != 0);
    return false;
}
