#include "platform/hid/hotplug_thread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace tovan {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Events one byte each on a pipe; the drain takes one event a call, as a udev
// monitor hands out one device event at a time.
class HotplugBurst : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(::pipe2(fds, O_NONBLOCK | O_CLOEXEC), 0); }
    void TearDown() override { ::close(fds[1]); }

    std::unique_ptr<HotplugThread> start(milliseconds quiet) {
        const int readFd = fds[0];
        return std::make_unique<HotplugThread>(
            readFd,
            [readFd] {
                char event;
                return ::read(readFd, &event, 1) == 1;
            },
            [readFd] { ::close(readFd); },
            [this] {
                std::lock_guard lock(mutex);
                notices.push_back(Clock::now());
                changed.notify_all();
            },
            quiet);
    }
    void event() { ASSERT_EQ(::write(fds[1], "e", 1), 1); }
    bool waitFor(size_t count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), [&] { return notices.size() >= count; });
    }
    size_t noticeCount() {
        std::lock_guard lock(mutex);
        return notices.size();
    }

    int fds[2] = {-1, -1};
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Clock::time_point> notices;
};

TEST_F(HotplugBurst, EventsCloserThanTheQuietTimeGiveOneNoticeAfterTheLast) {
    const milliseconds quiet(150);
    auto monitor = start(quiet);
    // Five events 20 ms apart, each drained on its own: one burst.
    Clock::time_point last;
    for (int i = 0; i < 5; ++i) {
        if (i > 0) std::this_thread::sleep_for(milliseconds(20));
        event();
        last = Clock::now();
    }
    ASSERT_TRUE(waitFor(1));
    EXPECT_GE(notices[0] - last, quiet - milliseconds(10)) << "the notice came before the burst went quiet";
    // Nothing more comes for the burst.
    std::this_thread::sleep_for(quiet + milliseconds(100));
    EXPECT_EQ(noticeCount(), 1u);

    // A later single event is a burst of its own.
    event();
    ASSERT_TRUE(waitFor(2));
    monitor.reset();
    EXPECT_EQ(notices.size(), 2u);
}

} // namespace
} // namespace tovan
