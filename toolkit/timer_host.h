#pragma once

#include <cstdint>
#include <map>

class CCPageManager;
class CCPageObject;

// Starts and stops platform timers on the manager's window; each expiry arrives
// as a 518 message with the id. Without a window it does nothing.
//
// A timer started for a target (a control's own timer) is delivered to that
// object alone; the others reach only the manager. So a timer costs the same
// whatever the size of the page, and nothing else in the tree sees it.
class CCTimerHost {
public:
    explicit CCTimerHost(CCPageManager& manager) : manager(manager) {}
    bool startTimer(uint32_t id, uint32_t periodMs, CCPageObject* target = nullptr);
    void stopTimer(uint32_t id);

    // The object the timer was started for; none for the manager's own.
    CCPageObject* targetOf(uint32_t id) const;
    // Whether some object's own timer runs (a flashing button).
    bool hasTargets() const { return !targets.empty(); }
    // Forgets the targets in `root`'s subtree (it leaves the tree).
    void forgetSubtree(const CCPageObject* root);

private:
    CCPageManager& manager;
    std::map<uint32_t, CCPageObject*> targets;
};
