#pragma once

#include "toolkit/controls/pot_control.h"

// An endless knob whose value is an angle in degrees, 0 to 359, wrapping at both
// ends. Its strip holds one full turn, frame 0 pointing down and the frames
// running clockwise. The angle offset says where 0 degrees lies: with the
// default of 180, 0 is at the top and 90 at the right, as on a compass.
class CCRotaryEncoder : public CCPotControl {
public:
    static constexpr int32_t kDefaultAngleOffset = 180;

    CCRotaryEncoder(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t stripId,
                    int32_t value = 0, CCPageObject* listener = nullptr,
                    int32_t angleOffset = kDefaultAngleOffset, uint16_t groupMask = 0);

    void drawContent(CCDrawContext& ctx) override;
    // The pointer's angle in degrees (0 where the offset puts it), normalised
    // so that fromNormalised gives the angle.
    float positionToValue(int32_t x, int32_t y) override;

    int32_t encoderFrame(int32_t v) const;
    int32_t getAngleOffset() const { return angleOffset; }

private:
    int32_t angleOffset;
};
