#include "platform/gtk/wheel_steps.h"

#include <cmath>

int32_t WheelSteps::addSmooth(double dy) {
    // A change of direction starts afresh, so a reversal answers at once.
    if ((dy > 0 && pending > 0) || (dy < 0 && pending < 0)) pending = 0;
    pending -= dy;
    const double whole = std::trunc(pending);
    pending -= whole;
    return static_cast<int32_t>(whole);
}
