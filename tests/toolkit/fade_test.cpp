#include "page_test_support.h"

#include "../support/trace_capture.h"
#include "platform/headless/headless_window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <future>
#include <thread>

namespace {

// Fades driven pass by pass on a hand-moved clock, without the worker thread.
struct Fade : ::testing::Test {
    Fade() {
        manager.openOffscreen();
        knob = manager.addChild(probe({10, 10, 20, 20}, "knob"));
        dot = knob->addChild(probe({1, 1, 2, 2}, "dot"));
    }
    CCFadeRecord record(const CCPageObject* object) {
        CCFadeRecord r;
        EXPECT_TRUE(manager.fades().recordOf(object, r));
        return r;
    }
    FakeClock clock;
    TestManager manager{{0, 0, 64, 64}, &clock, false};
    Probe* knob;
    Probe* dot;
};

TEST_F(Fade, DisablingFadesFrom255To48In414Milliseconds) {
    knob->setEnabled(false);
    CCFadeRecord r = record(knob);
    EXPECT_EQ(r.duration, 414u);
    EXPECT_EQ(r.startOpacity, 255);
    EXPECT_EQ(r.targetOpacity, 48);
    EXPECT_EQ(r.completionCode, kMsgFadeFinished);
    EXPECT_TRUE(knob->isFading());
    EXPECT_TRUE(dot->isFading());

    EXPECT_EQ(manager.fades().runPass(), 2); // the first unit is due after 414 / 207 ms
    EXPECT_EQ(knob->getOpacity(), 255);
    EXPECT_TRUE(manager.takePresents().empty());

    clock.advance(207);
    EXPECT_EQ(manager.fades().runPass(), 1);
    EXPECT_EQ(knob->getOpacity(), 152); // 255 - 103.5, truncated toward the start
    EXPECT_EQ(manager.takePresents(), (std::vector<CCRect>{{10, 10, 20, 20}}));

    clock.advance(206);
    manager.fades().runPass();
    EXPECT_EQ(knob->getOpacity(), 49);
    EXPECT_EQ(knob->fadeFinished, 0);

    clock.advance(1);
    EXPECT_EQ(manager.fades().runPass(), -1);
    EXPECT_EQ(knob->getOpacity(), 48);
    EXPECT_EQ(knob->fadeFinished, 0); // disabled objects hear no messages, this one included
    EXPECT_FALSE(knob->isFading());
    EXPECT_FALSE(dot->isFading());
    EXPECT_EQ(manager.fades().fadeCount(), 0u);
}

TEST_F(Fade, FadeToTheCurrentOpacityCompletesAtOnceWithItsCode) {
    manager.fadeTo(knob, 255, 20, kMsgFadeFinished);
    CCFadeRecord r = record(knob);
    EXPECT_EQ(r.doneAtStart, 1);
    EXPECT_EQ(r.duration, 0u);
    EXPECT_EQ(manager.fades().runPass(), -1);
    EXPECT_EQ(knob->fadeFinished, 1);
    EXPECT_EQ(dot->fadeFinished, 1); // the whole subtree hears it
    EXPECT_EQ(manager.takePresents().size(), 1u);

    manager.fadeTo(knob, 255, 20, 0); // no code: redrawn, nothing sent
    manager.fades().runPass();
    EXPECT_EQ(knob->fadeFinished, 1);
    EXPECT_EQ(manager.fades().fadeCount(), 0u);
}

TEST_F(Fade, WaitsExactlyUntilTheNextOneUnitStepOfTheEarliestFade) {
    knob->setCurrentOpacity(200);
    manager.fadeTo(knob, 190, 100, 0); // 10 units in 100 ms
    EXPECT_EQ(manager.fades().runPass(), 10);
    clock.advance(15);
    EXPECT_EQ(manager.fades().runPass(), 5);
    EXPECT_EQ(knob->getOpacity(), 199);

    Probe* other = manager.addChild(probe({30, 30, 40, 40}, "other"));
    manager.fadeTo(other, 250, 60, 0); // 5 units in 30 ms, the first due in 6
    EXPECT_EQ(manager.fades().runPass(), 5);
    clock.advance(3);
    EXPECT_EQ(manager.fades().runPass(), 2);
}

TEST_F(Fade, NewFadeReplacesTheOldOneAndSuspensionDropsThemAll) {
    manager.fadeTo(knob, 100, 10, 0);
    manager.fadeTo(knob, 200, 10, 0);
    EXPECT_EQ(manager.fades().fadeCount(), 1u);
    EXPECT_EQ(record(knob).targetOpacity, 200);

    manager.setFadesSuspended(true);
    EXPECT_EQ(manager.fades().fadeCount(), 0u);
    EXPECT_FALSE(knob->isFading());
    manager.fadeTo(knob, 10, 10, kMsgFadeFinished);
    EXPECT_EQ(manager.fades().fadeCount(), 0u);
    EXPECT_EQ(knob->getOpacity(), 255);

    manager.setFadesSuspended(false);
    manager.fadeTo(knob, 10, 10, 0);
    EXPECT_EQ(manager.fades().fadeCount(), 1u);
}

TEST_F(Fade, SelectFadeGoesToTheSelectedOpacityAndBackTo255) {
    knob->setSelectFade(100, 10, 0);
    knob->setSelected(true);
    EXPECT_TRUE(dot->isSelected());
    EXPECT_EQ(record(knob).targetOpacity, 100);
    EXPECT_EQ(record(knob).duration, 155u);
    clock.advance(80);
    manager.fades().runPass();
    // Interrupted half way: selecting again restarts the fade.
    manager.setFadesSuspended(true);
    manager.setFadesSuspended(false);
    knob->setSelected(true);
    EXPECT_EQ(record(knob).targetOpacity, 100);
    clock.advance(200);
    manager.fades().runPass();
    knob->setSelected(true); // already there: nothing
    EXPECT_EQ(manager.fades().fadeCount(), 0u);
    knob->setSelected(false);
    EXPECT_EQ(record(knob).targetOpacity, 255);
    EXPECT_EQ(record(knob).duration, 155u); // the deselect factor took the select factor
    EXPECT_FALSE(dot->isSelected());
}

TEST_F(Fade, CompletionHandlersMayStartFadesAndRemoveOtherFadingObjects) {
    Probe* other = manager.addChild(probe({30, 30, 40, 40}, "other"));
    std::unique_ptr<CCPageObject> removed;
    int chained = 0;
    knob->onMsg = [&](CCMsg& msg) {
        if (msg.code != kMsgFadeFinished || msg.target != knob) return;
        if (chained++ == 0) manager.fadeTo(knob, 0, 10, kMsgFadeFinished);
        removed = manager.removeChild(other);
        removed.reset(); // destroyed while its own completion is still queued
    };
    manager.fadeTo(knob, 255, 10, kMsgFadeFinished);
    manager.fadeTo(other, 255, 10, kMsgFadeFinished);
    manager.fades().runPass();
    EXPECT_EQ(chained, 1);
    EXPECT_EQ(manager.fades().fadeCount(), 1u);
    EXPECT_EQ(record(knob).targetOpacity, 0);
}

// The worker thread: these also run under ThreadSanitizer.
template <class Done>
bool waitFor(Done done) {
    for (int i = 0; i < 5000 && !done(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return done();
}

TEST(FadeThread, FadesRunOnTheWorkerWhileTheInterfaceKeepsDispatching) {
    FakeClock clock;
    HeadlessWindow window(64, 64);
    TestManager manager({0, 0, 64, 64}, &clock, true);
    manager.openOffscreen();
    manager.attachWindow(&window, manager.surface.get(), nullptr);
    manager.forwardPresents = true;
    Probe* page = manager.addChild(probe({0, 0, 64, 64}, "page"));
    page->paint = true;
    page->colour = {0, 0, 0, 255};
    std::vector<Probe*> knobs;
    for (int i = 0; i < 4; ++i) {
        Probe* k = page->addChild(probe({i * 16, 0, i * 16 + 16, 16}, "knob"));
        k->paint = true;
        k->hoverable = true;
        knobs.push_back(k);
    }
    {
        auto lock = manager.lockRedraw();
        for (Probe* k : knobs)
            k->setEnabled(false);
    }
    auto finished = [&] {
        for (Probe* k : knobs)
            if (k->isFading() || k->getOpacity() != 48) return false;
        return true;
    };
    for (int step = 0; step < 500 && !finished(); ++step) {
        CCMouseMsg move(kMsgMouseMove, (step * 7) % 64, 8);
        manager.dispatch(move);
        knobs[step % 4]->invalidate(true);
        window.presentPending(manager);
        clock.advance(5);
        manager.fades().wake();
        std::this_thread::yield();
    }
    ASSERT_TRUE(waitFor(finished));
    // The last step's opacity is set before the worker composes it: wait for
    // the composition too (under the lock the worker composes under).
    ASSERT_TRUE(waitFor([&] {
        auto lock = manager.lockRedraw();
        return std::abs(int(manager.surface->surface().pixelAt(8, 8).red) - 48) <= 2;
    }));
    // The worker asked for presents; the interface thread carried them out.
    window.presentPending(manager);
    CCPixel shown = window.image()->pixelAt(8, 8);
    EXPECT_EQ(shown, manager.surface->surface().pixelAt(8, 8));
    EXPECT_NEAR(shown.red, 48, 2); // white at 48 over the black page
}

class BlockingTarget : public CCFadeTarget {
public:
    void fadeInvalidate(CCPageObject*) override {
        entered.set_value();
        release.get_future().wait();
    }
    void fadeCompleted(CCPageObject*, uint16_t) override {}
    std::promise<void> entered;
    std::promise<void> release;
};

TEST(FadeThread, StopGivesUpAfterItsBoundAndTheWorkerEndsOnItsOwn) {
    FakeClock clock;
    BlockingTarget target;
    auto redrawLock = std::make_shared<std::recursive_mutex>();
    CCPageObject object(0, 0, 1, 1);
    auto animator = std::make_unique<CCFadeAnimator>(target, redrawLock, clock);
    std::future<void> entered = target.entered.get_future();
    animator->add(&object, 255, 10, 0); // done at start: the pass invalidates
    entered.wait();                     // the worker is inside its pass, holding the redraw lock

    TraceCapture trace;
    TraceSink previous = setTraceSink([&](std::string_view text) {
        trace.traced += text;
        target.release.set_value(); // only now let the pass finish
    });
    EXPECT_FALSE(animator->stop(std::chrono::milliseconds(20)));
    setTraceSink(previous);
    EXPECT_TRUE(trace.contains("did not stop within 20 ms"));
    animator.reset();
    // The worker still holds the shared lock state and ends without the animator.
    EXPECT_TRUE(waitFor([&] { return redrawLock.use_count() == 1; }));
}

} // namespace
