#include "toolkit/controls/control_timer.h"

#include <atomic>

namespace {

constexpr uint32_t kFirstControlTimerId = 0x1000;
std::atomic<uint32_t> nextId{kFirstControlTimerId};

} // namespace

uint32_t allocateControlTimerId() {
    return nextId.fetch_add(1, std::memory_order_relaxed);
}
