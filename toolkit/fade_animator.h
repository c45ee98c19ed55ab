#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class Clock;
class CCPageObject;

// One fading object.
struct CCFadeRecord {
    uint32_t start = 0; // clock milliseconds
    CCPageObject* object = nullptr;
    uint32_t duration = 0; // milliseconds
    uint16_t completionCode = 0;
    uint8_t startOpacity = 0;
    uint8_t targetOpacity = 0;
    uint8_t doneAtStart = 0; // the target equalled the start opacity
};

// What the animator needs of the manager: run while the redraw lock is held.
class CCFadeTarget {
public:
    virtual ~CCFadeTarget() = default;
    virtual void fadeInvalidate(CCPageObject* object) = 0;
    virtual void fadeCompleted(CCPageObject* object, uint16_t code) = 0;
};

// Moves objects' opacity towards a target over time on a worker thread. Each pass
// holds the manager's redraw lock and then the list lock (always in that order);
// adding a fade takes only the list lock. Invalidations and completion messages
// of a pass run after the list lock is released (still under the redraw lock),
// so a completion handler may start the next fade.
class CCFadeAnimator {
public:
    // The redraw lock is shared so that a worker that outlives a stop bound can
    // still take it safely; see stop().
    CCFadeAnimator(CCFadeTarget& target, std::shared_ptr<std::recursive_mutex> redrawLock, const Clock& clock,
                   bool startThread = true);
    ~CCFadeAnimator();
    CCFadeAnimator(const CCFadeAnimator&) = delete;
    CCFadeAnimator& operator=(const CCFadeAnimator&) = delete;

    // Fades `object` from its current opacity to `targetOpacity` in
    // factor × |target − current| / 10 ms, replacing any fade of the object.
    // Ignored while suspended.
    void add(CCPageObject* object, uint8_t targetOpacity, int32_t factor, uint16_t completionCode);
    // Drops the records of `root` and its subtree and clears their fading flags.
    // The caller holds the redraw lock.
    void dropSubtree(CCPageObject* root);
    // true: drops every record and ignores new fades; false: accepts fades again.
    void setSuspended(bool on);
    bool isSuspended() const;

    // One pass at the clock's current time. Answers the milliseconds until the next
    // one-unit opacity step, or -1 when no fade is left. The worker thread calls it;
    // tests without a thread call it directly.
    int32_t runPass();
    // Wakes the worker for a pass now (tests call it after moving their clock).
    void wake();

    // Stops the worker: waits up to `bound` for it to end; past that it is left
    // to end on its own, which it does without touching the manager again.
    // True when it ended in time.
    bool stop(std::chrono::milliseconds bound = std::chrono::milliseconds(1000));

    size_t fadeCount() const;
    // A copy of the record of `object`; false when it is not fading.
    bool recordOf(const CCPageObject* object, CCFadeRecord& out) const;
    // Completed worker passes, for tests that wait for the thread.
    uint64_t passCount() const;

private:
    struct Shared;
    static void workerMain(std::shared_ptr<Shared> shared);

    std::shared_ptr<Shared> shared;
    std::thread worker;
};
