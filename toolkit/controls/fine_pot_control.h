#pragma once

#include "toolkit/controls/pot_control.h"

// A pot for wide ranges. Circular drags work as on the pot; in the linear and
// horizontal modes every ten pixels of travel make one step of ten, or of one
// while shift is held, and the cursor goes back to the press point after each
// step. The wheel moves by ten, by one with shift; away from the player raises.
class CCFinePotControl : public CCPotControl {
public:
    using CCPotControl::CCPotControl;

    bool onControlMouse(CCMouseMsg& msg) override;

    // The step for a drag of (dx, dy) pixels: the sideways travel when it is the
    // larger, else the upward travel, in tens of pixels.
    static int32_t dragStep(int32_t dx, int32_t dy, bool fine);
};
