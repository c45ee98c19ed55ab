#include "toolkit/controls/control_timer.h"

#include "toolkit/page_object.h"
#include "toolkit/timer_host.h"

#include <atomic>

namespace {

// Repeating timers have ids from 4097 on; the editor uses 4099 and 8192.
constexpr uint32_t kFirstControlTimerId = 0x3000;
std::atomic<uint32_t> nextId{kFirstControlTimerId};

} // namespace

uint32_t allocateControlTimerId() {
    return nextId.fetch_add(1, std::memory_order_relaxed);
}

void CCControlTimer::start(CCPageObject& owner, uint32_t periodMs) {
    if (host) return;
    CCTimerHost* t = owner.timerHost();
    if (t && t->startTimer(timerId, periodMs, &owner)) host = t;
}

void CCControlTimer::stop() {
    if (!host) return;
    host->stopTimer(timerId);
    host = nullptr;
}
