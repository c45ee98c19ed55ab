// What the GTK window shares with other threads, without GTK (so that it runs
// under ThreadSanitizer): presents asked from any thread with the one idle
// callback that copies them, and work queued for a window that goes.
#include "platform/gtk/window_threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

// A main loop's idle sources as GLib keeps them: added from any thread,
// dispatched one by one on the loop's thread, each gone once its callback
// returns. Removing a source that is not there is the fault GLib warns about.
class FakeLoop {
public:
    unsigned add() {
        std::lock_guard lock(mutex);
        const unsigned id = ++lastId;
        waiting.push_back(id);
        live.insert(id);
        woken.notify_all();
        return id;
    }
    void remove(unsigned id) {
        std::lock_guard lock(mutex);
        if (live.erase(id) == 0) throw std::logic_error("removed a source that is gone");
        std::erase(waiting, id);
    }
    // Runs the next waiting callback on this thread; false when none came in time.
    bool dispatchOne(const std::function<void()>& callback, bool wait) {
        unsigned id = 0;
        {
            std::unique_lock lock(mutex);
            if (wait) woken.wait_for(lock, std::chrono::milliseconds(50), [&] { return !waiting.empty(); });
            if (waiting.empty()) return false;
            id = waiting.front();
            waiting.pop_front();
        }
        callback();
        std::lock_guard lock(mutex);
        live.erase(id);
        return true;
    }
    size_t liveCount() {
        std::lock_guard lock(mutex);
        return live.size();
    }
    bool isLive(unsigned id) {
        std::lock_guard lock(mutex);
        return live.count(id) != 0;
    }

private:
    std::mutex mutex;
    std::condition_variable woken;
    std::deque<unsigned> waiting;
    std::set<unsigned> live;
    unsigned lastId = 0;
};

TEST(PresentQueue, PresentsFromManyThreadsAllArriveAndTheWaitingCallbackIsAlwaysLive) {
    FakeLoop loop;
    PresentQueue queue([&] { return loop.add(); }, [&](unsigned id) { loop.remove(id); });
    constexpr int kThreads = 4;
    constexpr int kEach = 2000;
    std::atomic<int> producing{kThreads};
    std::vector<std::thread> producers;
    for (int t = 0; t < kThreads; ++t)
        producers.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i)
                queue.push({t, i, t + 1, i + 1});
            --producing;
        });
    size_t arrived = 0;
    int notLive = 0;
    // The window's thread: runs the callbacks, and now and then copies at once
    // outside them, as a shape update does.
    for (int turn = 0; producing > 0 || loop.liveCount() > 0; ++turn) {
        if (turn % 7 == 0) arrived += queue.takeNow().size();
        loop.dispatchOne([&] { arrived += queue.takeInCallback().size(); }, true);
        if (const unsigned waiting = queue.waitingSource(); waiting != 0 && !loop.isLive(waiting)) ++notLive;
    }
    for (std::thread& producer : producers)
        producer.join();
    arrived += queue.takeNow().size();
    EXPECT_EQ(arrived, size_t(kThreads) * kEach);
    EXPECT_EQ(notLive, 0) << "the id kept is the source still to come";
    EXPECT_NO_THROW(queue.close());
    EXPECT_EQ(loop.liveCount(), 0u);
}

TEST(PresentQueue, ClosingRemovesTheCallbackThatAnEarlyCopyLeftWaiting) {
    FakeLoop loop;
    PresentQueue queue([&] { return loop.add(); }, [&](unsigned id) { loop.remove(id); });
    std::thread([&] { queue.push({0, 0, 8, 8}); }).join();
    ASSERT_EQ(loop.liveCount(), 1u);
    EXPECT_EQ(queue.takeNow().size(), 1u) << "copied at once on the window's thread";
    EXPECT_NE(queue.waitingSource(), 0u) << "the callback still waits, and stays known";
    queue.close();
    EXPECT_EQ(loop.liveCount(), 0u) << "a callback left behind would run on a freed window";
    std::thread([&] { queue.push({0, 0, 8, 8}); }).join();
    EXPECT_EQ(loop.liveCount(), 0u) << "nothing is queued for a closed window";
    EXPECT_FALSE(loop.dispatchOne([] { FAIL() << "ran after close"; }, false));
}

TEST(PresentQueue, ABurstIsOneCallbackAndTheNextBurstAnother) {
    FakeLoop loop;
    PresentQueue queue([&] { return loop.add(); }, [&](unsigned id) { loop.remove(id); });
    for (int i = 0; i < 5; ++i)
        queue.push({i, 0, i + 1, 1});
    EXPECT_EQ(loop.liveCount(), 1u);
    size_t taken = 0;
    EXPECT_TRUE(loop.dispatchOne([&] { taken = queue.takeInCallback().size(); }, false));
    EXPECT_EQ(taken, 5u);
    EXPECT_EQ(queue.waitingSource(), 0u);
    queue.push({0, 0, 1, 1});
    EXPECT_EQ(loop.liveCount(), 1u) << "a new burst, a new callback";
    queue.close();
}

TEST(UiWorkGate, WorkQueuedFromOtherThreadsRunsOnlyWhileTheWindowIsThere) {
    UiWorkGate gate;
    std::mutex mutex;
    std::vector<UiWorkGate::Pass> queued; // the loop's queue
    std::atomic<int> ran{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 500; ++i) {
                UiWorkGate::Pass pass = gate.pass();
                std::lock_guard lock(mutex);
                queued.push_back(std::move(pass));
            }
        });
    // The window's thread runs some while the others queue.
    size_t done = 0;
    while (done < 1000) {
        std::lock_guard lock(mutex);
        for (; done < queued.size() && done < 1000; ++done)
            EXPECT_TRUE(queued[done].run([&] { ++ran; }));
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(ran.load(), 1000);
    gate.close(); // the window goes
    int dropped = 0;
    for (; done < queued.size(); ++done)
        dropped += queued[done].run([&] { ++ran; }) ? 0 : 1;
    EXPECT_EQ(dropped, 1000);
    EXPECT_EQ(ran.load(), 1000) << "nothing ran for the window that went";
    EXPECT_FALSE(gate.pass().isOpen());
}

} // namespace
