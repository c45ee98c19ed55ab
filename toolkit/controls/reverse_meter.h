#pragma once

#include "toolkit/controls/meter.h"

// A meter filled from the other end: hanging from the top, or from the right.
class CCReverseMeter : public CCMeter {
public:
    using CCMeter::CCMeter;

protected:
    bool reversed() const override { return true; }
};
