#pragma once

#include <cstdint>

class CCPageManager;

// Starts and stops platform timers on the manager's window; each expiry arrives
// as a 518 message with the id. Without a window it does nothing.
class CCTimerHost {
public:
    explicit CCTimerHost(CCPageManager& manager) : manager(manager) {}
    bool startTimer(uint32_t id, uint32_t periodMs);
    void stopTimer(uint32_t id);

private:
    CCPageManager& manager;
};
