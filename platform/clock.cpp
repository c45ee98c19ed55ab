#include "platform/clock.h"

#include <chrono>

namespace {

class SteadyClock final : public Clock {
public:
    uint32_t milliseconds() const override {
        auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
};

} // namespace

Clock& steadyClock() {
    static SteadyClock clock;
    return clock;
}
