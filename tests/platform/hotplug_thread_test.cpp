#include "platform/hid/hotplug_thread.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace tovan {
namespace {

TEST(HotplugThread, ABurstOfEventsGivesOneNotice) {
    int pipeFds[2];
    ASSERT_EQ(::pipe2(pipeFds, O_NONBLOCK | O_CLOEXEC), 0);
    std::mutex mutex;
    std::condition_variable changed;
    int notices = 0;
    const int readFd = pipeFds[0];
    auto drain = [readFd] {
        char buffer[64];
        bool any = false;
        while (::read(readFd, buffer, sizeof buffer) > 0)
            any = true;
        return any;
    };
    auto waitFor = [&](int count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), [&] { return notices >= count; });
    };
    {
        HotplugThread monitor(
            readFd, drain, [readFd] { ::close(readFd); },
            [&] {
                std::lock_guard lock(mutex);
                ++notices;
                changed.notify_all();
            },
            std::chrono::milliseconds(30));
        for (int i = 0; i < 5; ++i)
            ASSERT_EQ(::write(pipeFds[1], "e", 1), 1);
        ASSERT_TRUE(waitFor(1));
        ASSERT_EQ(::write(pipeFds[1], "e", 1), 1);
        ASSERT_TRUE(waitFor(2));
    }
    // The second notice came from the single later event, not from the burst.
    EXPECT_EQ(notices, 2);
    ::close(pipeFds[1]);
}

} // namespace
} // namespace tovan
