#pragma once

#include "toolkit/controls/pot_control.h"

// A modulation wheel seen edge on: a strip frame chosen by the value as on the
// pot. Whatever the toolkit's drag mode, it follows vertical drags with the
// cursor hidden: upward raises, and the whole range takes the wheel's height
// of travel (100 pixels for a taller wheel).
class CCModWheel : public CCPotControl {
public:
    using CCPotControl::CCPotControl;

    int32_t cursorAt(int32_t x, int32_t y) override;
    bool onControlMouse(CCMouseMsg& msg) override;

    // The value change for an upward drag of `up` pixels.
    int32_t dragStep(int32_t up) const;
};
