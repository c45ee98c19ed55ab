#pragma once

#include <mutex>

// The lock that whoever draws the page holds. Work that changes many page
// objects from outside the page (the parameters' delivery, a reload of the
// pedal) takes it, so that no frame shows half of the change.
class CCRedrawLock {
public:
    virtual ~CCRedrawLock() = default;
    virtual std::unique_lock<std::recursive_mutex> lockRedraw() = 0;
};
