#pragma once

#include <cstdint>

// Turns smooth scrolling (fractions of a notch, as touchpads and smooth mice
// report them; positive dy is towards the player) into whole notches of the
// toolkit's wheel delta (120 a notch, away from the player positive). What is
// left over waits for the next event, so slow scrolling still steps.
class WheelSteps {
public:
    static constexpr int32_t kNotch = 120;
    // The notches to send for this event (0 while a notch is still building up).
    int32_t addSmooth(double dy);
    void reset() { pending = 0; }

private:
    double pending = 0;
};
