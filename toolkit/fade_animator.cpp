#include "toolkit/fade_animator.h"

#include "platform/clock.h"
#include "platform/trace.h"
#include "toolkit/page_object.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>

namespace {

// What a pass decided for one object, carried out after the list lock is released.
struct FadeOutcome {
    CCPageObject* object = nullptr;
    bool invalidate = false;
    uint16_t code = 0;
};

bool inSubtree(const CCPageObject* root, const CCPageObject* object) {
    return object && (object == root || root->isAncestorOf(object));
}

} // namespace

struct CCFadeAnimator::Shared {
    CCFadeTarget* target = nullptr;
    std::shared_ptr<std::recursive_mutex> redrawLock;
    const Clock* clock = nullptr;

    mutable std::mutex listLock;
    std::condition_variable wakeEvent;
    std::condition_variable exitedEvent;
    std::vector<CCFadeRecord> records; // list lock
    bool wakeFlag = false;             // list lock
    bool suspended = false;            // list lock
    bool exited = false;               // list lock
    uint64_t passes = 0;               // list lock
    std::atomic<bool> stopFlag{false};
    // The outcomes being carried out (redraw lock), scrubbed when their objects leave.
    std::vector<FadeOutcome>* inFlight = nullptr;

    int32_t pass();
};

CCFadeAnimator::CCFadeAnimator(CCFadeTarget& target, std::shared_ptr<std::recursive_mutex> redrawLock,
                               const Clock& clock, bool startThread)
    : shared(std::make_shared<Shared>()) {
    shared->target = &target;
    shared->redrawLock = std::move(redrawLock);
    shared->clock = &clock;
    if (startThread) worker = std::thread(workerMain, shared);
}

CCFadeAnimator::~CCFadeAnimator() {
    stop();
}

void CCFadeAnimator::add(CCPageObject* object, uint8_t targetOpacity, int32_t factor,
                         uint16_t completionCode) {
    if (!object) return;
    std::lock_guard list(shared->listLock);
    if (shared->suspended) return;
    auto& records = shared->records;
    std::erase_if(records, [object](const CCFadeRecord& r) { return r.object == object; });
    object->setFadingTree(true);
    CCFadeRecord r;
    r.start = shared->clock->milliseconds();
    r.object = object;
    r.startOpacity = object->getOpacity();
    r.targetOpacity = targetOpacity;
    r.duration = static_cast<uint32_t>(std::max(factor, 0) * std::abs(targetOpacity - r.startOpacity) / 10);
    r.completionCode = completionCode;
    r.doneAtStart = targetOpacity == r.startOpacity;
    records.push_back(r);
    shared->wakeFlag = true;
    shared->wakeEvent.notify_one();
}

void CCFadeAnimator::dropSubtree(CCPageObject* root) {
    {
        std::lock_guard list(shared->listLock);
        std::erase_if(shared->records, [root](const CCFadeRecord& r) {
            if (!inSubtree(root, r.object)) return false;
            r.object->setFadingTree(false);
            return true;
        });
    }
    if (shared->inFlight)
        for (FadeOutcome& o : *shared->inFlight)
            if (inSubtree(root, o.object)) o.object = nullptr;
}

void CCFadeAnimator::setSuspended(bool on) {
    if (!on) {
        std::lock_guard list(shared->listLock);
        shared->suspended = false;
        return;
    }
    std::lock_guard redraw(*shared->redrawLock);
    std::lock_guard list(shared->listLock);
    for (const CCFadeRecord& r : shared->records)
        r.object->setFadingTree(false);
    shared->records.clear();
    shared->suspended = true;
}

bool CCFadeAnimator::isSuspended() const {
    std::lock_guard list(shared->listLock);
    return shared->suspended;
}

int32_t CCFadeAnimator::runPass() {
    std::lock_guard redraw(*shared->redrawLock);
    return shared->pass();
}

int32_t CCFadeAnimator::Shared::pass() {
    std::vector<FadeOutcome> outcomes;
    int32_t next = -1;
    {
        std::lock_guard list(listLock);
        const uint32_t now = clock->milliseconds();
        for (auto it = records.begin(); it != records.end();) {
            CCFadeRecord& r = *it;
            const int64_t elapsed = std::max<int64_t>(static_cast<int32_t>(now - r.start), 0);
            const int64_t distance = int64_t(r.targetOpacity) - r.startOpacity;
            int64_t value = r.targetOpacity;
            if (r.duration != 0 && elapsed < r.duration)
                value = std::clamp<int64_t>(r.startOpacity + distance * elapsed / r.duration, 0, 255);
            const bool reached = value == r.targetOpacity;
            FadeOutcome outcome{r.object, false, 0};
            if (r.doneAtStart) {
                outcome.invalidate = true;
            } else if (value != r.object->getOpacity()) {
                r.object->setCurrentOpacity(static_cast<uint8_t>(value));
                outcome.invalidate = true;
            }
            // The completion code goes out whenever a fade ends, even when someone
            // else already set the target opacity, so no waiter is left hanging.
            if (reached) outcome.code = r.completionCode;
            if (outcome.invalidate || outcome.code) outcomes.push_back(outcome);
            if (reached) {
                r.object->setFadingTree(false);
                it = records.erase(it);
                continue;
            }
            // The moment of the next one-unit step, rounded up so the wait never
            // ends before the opacity has actually moved.
            const int64_t units = std::abs(value - r.startOpacity) + 1;
            const int64_t due = (units * r.duration + std::abs(distance) - 1) / std::abs(distance);
            const int32_t wait = static_cast<int32_t>(std::max<int64_t>(due - elapsed, 1));
            next = next < 0 ? wait : std::min(next, wait);
            ++it;
        }
        ++passes;
    }
    inFlight = &outcomes;
    for (FadeOutcome& o : outcomes) {
        if (o.object && o.invalidate) target->fadeInvalidate(o.object);
        if (o.object && o.code) target->fadeCompleted(o.object, o.code);
    }
    inFlight = nullptr;
    return next;
}

void CCFadeAnimator::workerMain(std::shared_ptr<Shared> s) {
    std::unique_lock list(s->listLock);
    int32_t wait = -1;
    for (;;) {
        auto woken = [&s] { return s->wakeFlag || s->stopFlag.load(); };
        if (wait < 0)
            s->wakeEvent.wait(list, woken);
        else
            s->wakeEvent.wait_for(list, std::chrono::milliseconds(wait), woken);
        if (s->stopFlag) break;
        s->wakeFlag = false;
        list.unlock();
        {
            std::lock_guard redraw(*s->redrawLock);
            // Checked under the redraw lock: once stop has given up on this thread,
            // the manager may be gone and must not be touched.
            if (s->stopFlag) {
                list.lock();
                break;
            }
            wait = s->pass();
        }
        list.lock();
    }
    s->exited = true;
    s->exitedEvent.notify_all();
}

void CCFadeAnimator::wake() {
    std::lock_guard list(shared->listLock);
    shared->wakeFlag = true;
    shared->wakeEvent.notify_one();
}

bool CCFadeAnimator::stop(std::chrono::milliseconds bound) {
    if (!worker.joinable()) return true;
    std::unique_lock list(shared->listLock);
    shared->stopFlag = true;
    shared->wakeEvent.notify_all();
    bool ended = shared->exitedEvent.wait_for(list, bound, [this] { return shared->exited; });
    list.unlock();
    if (ended) {
        worker.join();
        return true;
    }
    tovanTrace("fade thread did not stop within %lld ms\n", static_cast<long long>(bound.count()));
    // Holding the redraw lock means the worker is not inside a pass; whenever it
    // gets the lock it sees the stop flag and ends without touching the manager.
    std::lock_guard redraw(*shared->redrawLock);
    worker.detach();
    return false;
}

size_t CCFadeAnimator::fadeCount() const {
    std::lock_guard list(shared->listLock);
    return shared->records.size();
}

bool CCFadeAnimator::recordOf(const CCPageObject* object, CCFadeRecord& out) const {
    std::lock_guard list(shared->listLock);
    for (const CCFadeRecord& r : shared->records) {
        if (r.object != object) continue;
        out = r;
        return true;
    }
    return false;
}

uint64_t CCFadeAnimator::passCount() const {
    std::lock_guard list(shared->listLock);
    return shared->passes;
}
