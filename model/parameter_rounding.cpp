#include "model/parameter_rounding.h"

#include <cmath>
#include <limits>

int64_t roundHalfTowardZero(double x, double n) {
    const double r = x * n;
    if (!std::isfinite(r)) return 0;
    double integral = 0.0;
    const double fraction = std::modf(r, &integral);
    // Beyond int64 the fraction is always zero; saturate rather than overflow.
    if (integral >= 9.2e18) return std::numeric_limits<int64_t>::max();
    if (integral <= -9.2e18) return std::numeric_limits<int64_t>::min();
    auto i = static_cast<int64_t>(integral);
    if (fraction > 0.5)
        ++i;
    else if (fraction < -0.5)
        --i;
    return i;
}

int32_t truncateToInt32(double x) {
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (x <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(x);
}
