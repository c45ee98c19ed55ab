#include "toolkit/controls/flashing_on_off_button.h"

#include "platform/clock.h"
#include "toolkit/draw_context.h"

namespace {

enum Frame : int32_t { kLit = 0, kDark = 1, kPressed = 2 };

} // namespace

CCFlashingOnOffButton::CCFlashingOnOffButton(int32_t tag, int32_t left, int32_t top, int32_t right,
                                             int32_t bottom, int32_t stripId, int32_t buttonMode,
                                             CCPageObject* listener, uint16_t groupMask, const Clock* c)
    : CCOnOffButton(tag, left, top, right, bottom, stripId, buttonMode, listener, groupMask, 3),
      clock(c ? *c : steadyClock()) {}

int32_t CCFlashingOnOffButton::currentFrame() const {
    if (isPressed()) return kPressed;
    if (!value) return kDark;
    const uint32_t elapsed = clock.milliseconds() - onSince;
    return (elapsed / kPhaseMs) % 2 == 0 ? kLit : kDark;
}

void CCFlashingOnOffButton::applyValue(int32_t v, bool notify, bool redraw, bool selfOnly, bool force) {
    const int32_t before = value;
    CCOnOffButton::applyValue(v, notify, redraw, selfOnly, force);
    if (value == before) return;
    if (value) {
        onSince = clock.milliseconds();
        if (isVisible()) timer.start(*this, kTickMs);
    } else {
        timer.stop();
    }
}

void CCFlashingOnOffButton::setVisible(bool on) {
    CCOnOffButton::setVisible(on);
    if (on && value)
        timer.start(*this, kTickMs);
    else
        timer.stop();
}

bool CCFlashingOnOffButton::onControlMessage(CCMsg& msg) {
    if (msg.code != kMsgTimer) return CCOnOffButton::onControlMessage(msg);
    if (uint32_t(msg.first) != timer.id()) return false;
    if (currentFrame() != drawnFrame) invalidate(true);
    return true;
}

void CCFlashingOnOffButton::drawContent(CCDrawContext& ctx) {
    drawnFrame = currentFrame();
    if (strip) ctx.drawFrame(*strip, {bounds.left, bounds.top}, drawnFrame);
}
