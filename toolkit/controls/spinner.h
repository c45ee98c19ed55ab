#pragma once

#include "toolkit/controls/pot_control.h"

// An endless spinning wheel: the value counts without bounds and the strip
// repeats every `period` values, shifted by `phase`. It passes its value through
// unmapped (toNormalised is the value itself). A circular drag adds the turns
// the pointer makes round the centre, one period a turn; the linear modes step
// one a pixel upward or one per sideways nudge, as the pot does for a range of 100.
class CCSpinner : public CCPotControl {
public:
    CCSpinner(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t stripId,
              int32_t period, int32_t value = 0, CCPageObject* listener = nullptr, uint16_t groupMask = 0);

    void drawContent(CCDrawContext& ctx) override;
    bool onControlMouse(CCMouseMsg& msg) override;
    float toNormalised(int32_t v) const override { return float(v); }

    int32_t spinnerFrame(int32_t v) const;
    void setPhase(int32_t value) { phase = value; }
    int32_t getPeriod() const { return period; }

private:
    void turnMove(int32_t x, int32_t y);
    void stepMove(const CCMouseMsg& msg);

    int32_t period;
    int32_t phase = 0;
    double turnRemainder = 0; // part of a value not yet applied during a circular drag
};
