#pragma once

#include "toolkit/controls/timed_on_off_button.h"

// A button that blinks while it is on. Its strip has three frames: 0 lit, 1 off,
// 2 pressed. While on it shows frames 0 and 1 in turn, 500 ms each, starting lit
// at the moment it was switched on; it answers presses as CCOnOffButton does.
// The phase is read from a clock; a 100 ms toolkit timer only asks for a redraw
// when the phase has turned.
class CCFlashingOnOffButton : public CCTimedOnOffButton {
public:
    static constexpr uint32_t kPhaseMs = 500;
    static constexpr uint32_t kTickMs = 100;

    CCFlashingOnOffButton(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                          int32_t stripId, int32_t mode = kButtonToggle, CCPageObject* listener = nullptr,
                          uint16_t groupMask = 0, const Clock* clock = nullptr);

    void drawContent(CCDrawContext& ctx) override;

    // The frame for the current state and clock: 2 pressed, 1 off or dark, 0 lit.
    int32_t currentFrame() const;

private:
    void tick() override;

    int32_t drawnFrame = -1;
};
