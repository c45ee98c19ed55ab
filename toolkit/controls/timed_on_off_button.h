#pragma once

#include "toolkit/controls/control_timer.h"
#include "toolkit/controls/on_off_button.h"

class Clock;

// An on/off button whose look changes with time while it is on (flashing,
// pulsing). It runs its own toolkit timer while it is on and visible in a
// window, remembers when it was switched on, and hands each tick to tick().
class CCTimedOnOffButton : public CCOnOffButton {
public:
    CCTimedOnOffButton(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t stripId,
                       int32_t mode, CCPageObject* listener, uint16_t groupMask, int32_t frames,
                       const Clock* clock, uint32_t tickMs);

    // The timer runs while the button is on and visible in a window.
    void setVisible(bool on) override;
    bool onControlMessage(CCMsg& msg) override;
    void applyValue(int32_t value, Notify notify, Redraw redraw, SelfOnly selfOnly, Force force) override;
    uint32_t timerId() const { return timer.id(); }

protected:
    // One timer tick while on: redraw when the look has moved on.
    virtual void tick() = 0;
    // Milliseconds since the button was switched on.
    uint32_t onFor() const;

    const Clock& clock;

private:
    CCControlTimer timer;
    uint32_t tickMs;
    uint32_t onSince = 0;
};
