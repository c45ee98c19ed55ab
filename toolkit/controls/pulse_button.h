#pragma once

#include "toolkit/controls/timed_on_off_button.h"

// A button that breathes while it is on. Its strip has two frames, the base
// image and a glow layer. The base is drawn at 5/8 of the current opacity (in
// full while pressed); while on, the glow goes over it at an opacity that rises
// and falls as a raised cosine, 0 to 255 and back in kPulseMs, starting dark at
// the moment it was switched on. A 50 ms toolkit timer redraws it; the glow's
// opacity is read from a clock. It answers presses as CCOnOffButton does.
class CCPulseButton : public CCTimedOnOffButton {
public:
    static constexpr uint32_t kPulseMs = 1200;
    static constexpr uint32_t kTickMs = 50;

    CCPulseButton(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t stripId,
                  int32_t mode = kButtonToggle, CCPageObject* listener = nullptr, uint16_t groupMask = 0,
                  const Clock* clock = nullptr);

    void drawContent(CCDrawContext& ctx) override;

    // The glow's opacity now: 0 while off.
    uint8_t glowOpacity() const;

private:
    void tick() override { invalidate(true); }
};
