#pragma once

#include <cstdint>

class CCPageObject;
class CCTimerHost;

// Timer ids for controls that run their own timers (flashing, pulsing). Each
// control takes one of its own, so stopping one never stops another's, and
// none meets the toolkit's hover timer (256).
uint32_t allocateControlTimerId();

// One control's own timer. It runs on the timer host of the manager its owner
// was in when it started and is stopped through that host again, because a
// control taken out of the tree can no longer reach its manager. Owners stop
// it when they are made invisible (which removal from the tree does first).
class CCControlTimer {
public:
    CCControlTimer() : timerId(allocateControlTimerId()) {}
    ~CCControlTimer() { stop(); }
    CCControlTimer(const CCControlTimer&) = delete;
    CCControlTimer& operator=(const CCControlTimer&) = delete;

    // Starts it on the owner's manager if it is not running; without a manager
    // it stays stopped.
    void start(CCPageObject& owner, uint32_t periodMs);
    void stop();
    bool isRunning() const { return host != nullptr; }
    uint32_t id() const { return timerId; }

private:
    uint32_t timerId;
    CCTimerHost* host = nullptr; // the manager's, while running
};
