#include "toolkit/controls/timed_on_off_button.h"

#include "platform/clock.h"

CCTimedOnOffButton::CCTimedOnOffButton(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                                       int32_t stripId, int32_t buttonMode, CCPageObject* listener,
                                       uint16_t groupMask, int32_t frames, const Clock* c, uint32_t tick)
    : CCOnOffButton(tag, left, top, right, bottom, stripId, buttonMode, listener, groupMask, frames),
      clock(c ? *c : steadyClock()), tickMs(tick) {}

uint32_t CCTimedOnOffButton::onFor() const {
    return clock.milliseconds() - onSince;
}

void CCTimedOnOffButton::applyValue(int32_t v, Notify notify, Redraw redraw, SelfOnly selfOnly, Force force) {
    const int32_t before = value;
    CCOnOffButton::applyValue(v, notify, redraw, selfOnly, force);
    if (value == before) return;
    if (value) {
        onSince = clock.milliseconds();
        if (isVisible()) timer.start(*this, tickMs);
    } else {
        timer.stop();
    }
}

void CCTimedOnOffButton::setVisible(bool on) {
    CCOnOffButton::setVisible(on);
    if (on && value)
        timer.start(*this, tickMs);
    else
        timer.stop();
}

bool CCTimedOnOffButton::onControlMessage(CCMsg& msg) {
    if (msg.code != kMsgTimer) return CCOnOffButton::onControlMessage(msg);
    if (uint32_t(msg.first) != timer.id()) return false;
    tick();
    return true;
}
