#include "toolkit/controls/meter_with_clip.h"

#include "toolkit/bitmap_registry.h"
#include "toolkit/controls/meter_drawing.h"
#include "toolkit/draw_context.h"

namespace {

constexpr int32_t kLampGap = 2;
constexpr int32_t kDefaultLampSize = 10;

} // namespace

CCMeterWithClip::CCMeterWithClip(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                                 int32_t backgroundId, int32_t foregroundId, int32_t lampId, int32_t minimum,
                                 int32_t maximum, CCPageObject* listener, uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, minimum, maximum, minimum, listener, groupMask),
      clipLevel(maximum) {
    if (backgroundId != 0) setBackgroundBitmap(backgroundId);
    if (foregroundId != 0) foreground = acquireBitmap(foregroundId);
    if (lampId != 0) lamp = acquireStripByCount(lampId, 2);
}

CCMeterWithClip::~CCMeterWithClip() {
    if (foreground) releaseBitmap(foreground);
    if (lamp) releaseBitmap(lamp);
}

CCRect CCMeterWithClip::lampRect() const {
    const int32_t size = lamp ? lamp->getFrameWidth() : kDefaultLampSize;
    if (bounds.height() > bounds.width())
        return CCRect::fromSize({bounds.left + (bounds.width() - size) / 2, bounds.top}, size, size);
    return CCRect::fromSize({bounds.right - size, bounds.top + (bounds.height() - size) / 2}, size, size);
}

CCRect CCMeterWithClip::meterRect() const {
    const CCRect l = lampRect();
    if (bounds.height() > bounds.width())
        return {bounds.left, l.bottom + kLampGap, bounds.right, bounds.bottom};
    return {bounds.left, bounds.top, l.left - kLampGap, bounds.bottom};
}

void CCMeterWithClip::resetClip() {
    if (!clipped) return;
    clipped = false;
    invalidate(true);
}

void CCMeterWithClip::applyValue(int32_t v, Notify notify, Redraw redraw, SelfOnly selfOnly, Force force) {
    CControl::applyValue(v, notify, redraw, selfOnly, force);
    if (value >= clipLevel && !clipped) {
        clipped = true;
        invalidate(true);
    }
}

void CCMeterWithClip::drawContent(CCDrawContext& ctx) {
    const CCRect area = meterRect();
    const CCMeterLook look = meterLookFor(area, false);
    int32_t length = look.vertical ? area.height() : area.width();
    if (foreground) length = look.vertical ? foreground->getHeight() : foreground->getWidth();
    drawMeter(ctx, area, getBackgroundBitmap(), foreground, meterFill(value, minimum, maximum, length), look);
    if (lamp) {
        const CCRect l = lampRect();
        ctx.drawFrame(*lamp, {l.left, l.top}, clipped ? 1 : 0);
    }
}

bool CCMeterWithClip::onControlMessage(CCMsg& msg) {
    if (msg.code == kMsgSetValue) return applyMeterLevel(*this, msg, echoExternal != 0);
    return false;
}

bool CCMeterWithClip::onControlMouse(CCMouseMsg& msg) {
    if (msg.code != kMsgLeftDown || !CCPageObject::hitTest({msg.x, msg.y})) return false;
    resetClip();
    return true;
}
