#pragma once

// What the GTK window shares with other threads, kept free of GTK so that it
// runs headless under ThreadSanitizer (which cannot see into GLib): the
// presents asked from any thread with the one idle callback that copies them,
// and the gate that work queued for the window's thread passes.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "toolkit/geometry.h"

// The rectangles waiting to be presented and the idle callback that will copy
// them. The callback's source id is set, cleared and removed under the same
// lock as the rectangles, and it is set only while that source is waiting: so
// when the window goes, it removes exactly the callback still to come.
class PresentQueue {
public:
    // `schedule` adds the idle callback and answers its source id; `cancel`
    // removes a waiting one. Both run with the queue's lock held.
    PresentQueue(std::function<unsigned()> schedule, std::function<void(unsigned)> cancel)
        : schedule(std::move(schedule)), cancel(std::move(cancel)) {}

    // Any thread: one callback a burst; rectangles asked while it waits join it.
    void push(CCRect rect) {
        std::lock_guard lock(mutex);
        if (closed) return;
        pending.push_back(rect);
        if (source == 0) source = schedule();
    }
    // From the idle callback, on the window's thread: its source ends when the
    // callback returns, so the next push schedules a new one.
    std::vector<CCRect> takeInCallback() {
        std::lock_guard lock(mutex);
        source = 0;
        return std::exchange(pending, {});
    }
    // On the window's thread outside the callback: a callback still waiting
    // stays known, and finds nothing when it runs.
    std::vector<CCRect> takeNow() {
        std::lock_guard lock(mutex);
        return std::exchange(pending, {});
    }
    // The window goes (on its thread): the waiting callback is removed, and
    // nothing is queued from now on.
    void close() {
        std::lock_guard lock(mutex);
        closed = true;
        pending.clear();
        if (source != 0) cancel(std::exchange(source, 0u));
    }
    unsigned waitingSource() const {
        std::lock_guard lock(mutex);
        return source;
    }

private:
    std::function<unsigned()> schedule;
    std::function<void(unsigned)> cancel;
    mutable std::mutex mutex;
    std::vector<CCRect> pending; // mutex
    unsigned source = 0;         // mutex; the waiting callback, 0 for none
    bool closed = false;         // mutex
};

// Work queued for the window's thread holds a pass of the window's gate, never
// the window: once the window has closed its gate (as it goes), work that
// reaches the loop later is dropped without running.
class UiWorkGate {
    struct State {
        std::atomic<bool> open{true};
    };

public:
    class Pass {
    public:
        // Runs the work when the gate is still open; on the window's thread.
        bool run(const std::function<void()>& work) const {
            if (!state->open.load(std::memory_order_acquire)) return false;
            if (work) work();
            return true;
        }
        bool isOpen() const { return state->open.load(std::memory_order_acquire); }

    private:
        friend class UiWorkGate;
        explicit Pass(std::shared_ptr<const State> s) : state(std::move(s)) {}
        std::shared_ptr<const State> state;
    };

    // Any thread.
    Pass pass() const { return Pass(state); }
    // On the window's thread, as the window goes.
    void close() { state->open.store(false, std::memory_order_release); }

private:
    std::shared_ptr<State> state = std::make_shared<State>();
};
