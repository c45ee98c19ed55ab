#pragma once

#include <cstdint>

// A monotonic millisecond clock. Code that measures time (fades, pacing) takes
// one of these so tests can drive time by hand instead of sleeping through it.
class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; wraps after about 49 days.
    virtual uint32_t milliseconds() const = 0;
};

// The process's steady clock.
Clock& steadyClock();
