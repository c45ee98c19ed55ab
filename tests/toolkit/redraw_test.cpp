#include "page_test_support.h"
#include "test_support.h"

#include "toolkit/page.h"

#include "platform/headless/headless_window.h"

#include <gtest/gtest.h>

namespace {

using Log = std::vector<std::string>;

// Only the drawing, not the redraw requests passing up the tree.
Log draws(Log log) {
    std::erase_if(log, [](const std::string& e) { return !e.ends_with(":draw"); });
    return log;
}

TEST(Redraw, OpacityMultipliesDownTheTree) {
    TestManager manager;
    manager.openOffscreen();
    Probe* parent = manager.addChild(probe({10, 10, 40, 40}, "parent"));
    Probe* child = parent->addChild(probe({0, 0, 10, 10}, "child"));
    child->paint = true;
    parent->setOpacity(128);
    child->setOpacity(128);
    manager.invalidate(false);
    EXPECT_EQ(child->drawnOpacity, 64);
    EXPECT_EQ(manager.surface->surface().pixelAt(12, 12).alpha, 64);
    EXPECT_EQ(manager.surface->surface().pixelAt(20, 12).alpha, 0); // outside the child

    TestManager hidden;
    hidden.openOffscreen();
    EventLog log;
    Probe* zero = hidden.addChild(probe({10, 10, 40, 40}, "zero", &log));
    Probe* under = zero->addChild(probe({0, 0, 10, 10}, "under", &log));
    under->paint = true;
    zero->setOpacity(0);
    hidden.invalidate(false);
    under->invalidate(true);
    EXPECT_TRUE(draws(log.take()).empty());
    EXPECT_EQ(hidden.surface->surface().pixelAt(12, 12).alpha, 0);
}

TEST(Redraw, BatchedRequestsPresentOnceWithTheirUnion) {
    TestManager manager;
    Probe* a = manager.addChild(probe({0, 0, 10, 10}, "a"));
    Probe* b = manager.addChild(probe({20, 30, 40, 50}, "b"));
    a->invalidate(false);
    EXPECT_TRUE(manager.takePresents().empty()); // not open: nothing happens

    manager.openOffscreen();
    a->invalidate(false);
    EXPECT_EQ(manager.takePresents(), (std::vector<CCRect>{{0, 0, 10, 10}}));

    manager.beginUpdate();
    manager.beginUpdate();
    a->invalidate(true);
    b->invalidate(false);
    manager.endUpdate();
    EXPECT_TRUE(manager.takePresents().empty());
    manager.endUpdate();
    EXPECT_EQ(manager.takePresents(), (std::vector<CCRect>{{0, 0, 40, 50}}));

    manager.beginUpdate();
    b->invalidate(false);
    manager.flushPending();
    EXPECT_EQ(manager.takePresents(), (std::vector<CCRect>{{20, 30, 40, 50}}));
    manager.endUpdate();
    EXPECT_TRUE(manager.takePresents().empty());
}

TEST(Redraw, NestedRedrawsStopAtTheDepthGuard) {
    TestManager manager;
    manager.openOffscreen();
    Probe* echo = manager.addChild(probe({0, 0, 10, 10}, "echo"));
    int draws = 0;
    echo->onDraw = [&](CCDrawContext& ctx) {
        ++draws;
        manager.redraw(ctx, nullptr);
    };
    manager.invalidate(false);
    EXPECT_EQ(draws, 7);
    draws = 0;
    manager.invalidate(false); // the depth count came back down
    EXPECT_EQ(draws, 7);
}

struct Chain : ::testing::Test {
    Chain() {
        manager.openOffscreen();
        page = manager.addChild(probe({0, 0, 64, 64}, "page", &log));
        panel = page->addChild(probe({10, 10, 50, 50}, "panel", &log));
        knob = panel->addChild(probe({10, 10, 20, 20}, "knob", &log));
        knob->addChild(probe({2, 2, 4, 4}, "dot", &log));
        knob->setOpaque(true);
        log.take();
    }
    Log redrawKnob() {
        knob->invalidate(true);
        return draws(log.take());
    }
    EventLog log;
    TestManager manager;
    Probe* page;
    Probe* panel;
    Probe* knob;
};

TEST_F(Chain, OpaqueObjectAtItsNormalOpacityIsDrawnAlone) {
    EXPECT_EQ(redrawKnob(), (Log{"knob:draw", "dot:draw"}));
}

TEST_F(Chain, TranslucentObjectIsDrawnOverItsAncestors) {
    knob->setCurrentOpacity(100); // mid-fade
    EXPECT_EQ(redrawKnob(), (Log{"page:draw", "panel:draw", "knob:draw", "dot:draw"}));
    EXPECT_EQ(knob->drawnOpacity, 100);

    // An opaque ancestor covers everything behind it.
    panel->setOpaque(true);
    EXPECT_EQ(redrawKnob(), (Log{"panel:draw", "knob:draw", "dot:draw"}));

    // ... unless something above it is translucent.
    page->setOpacity(200);
    EXPECT_EQ(redrawKnob(), (Log{"page:draw", "panel:draw", "knob:draw", "dot:draw"}));
    EXPECT_EQ(knob->drawnOpacity, 200 * 100 / 255);
}

TEST_F(Chain, OverlappedObjectRedrawsEverythingInItsRectangle) {
    panel->addChild(probe({15, 15, 25, 25}, "cover", &log));
    EXPECT_EQ(redrawKnob(), (Log{"page:draw", "panel:draw", "knob:draw", "dot:draw", "cover:draw"}));
}

TEST_F(Chain, HiddenLinkDrawsNothing) {
    panel->setGroupMask(1, 0);
    page->addChild(probe({0, 0, 1, 1}, "tab", &log, kTagNone, 2));
    page->setGroup(2);
    log.take();
    manager.invalidateObject(knob, true);
    EXPECT_TRUE(draws(log.take()).empty());
}

TEST_F(Chain, ModalPanelIsDrawnOverTheDimmedTree) {
    auto owned = probe({5, 5, 30, 30}, "modal", &log);
    Probe* modal = owned.get();
    manager.showModal(std::move(owned));
    Log seen = draws(log.take());
    EXPECT_EQ(seen.front(), "page:draw");
    EXPECT_EQ(seen.back(), "modal:draw");
    EXPECT_EQ(page->drawnOverlay, 1);
    EXPECT_EQ(modal->drawnOverlay, 0);
    EXPECT_EQ(manager.surface->overlayDepth(), 0);
}

TEST(Redraw, HeadlessWindowShowsWhatWasPresented) {
    HeadlessWindow window(64, 64);
    TestManager manager;
    manager.openOffscreen();
    manager.attachWindow(&window, manager.surface.get(), nullptr);
    Probe* lamp = manager.addChild(probe({4, 4, 8, 8}, "lamp"));
    lamp->paint = true;
    lamp->colour = {255, 0, 0, 255};
    // TestManager keeps presents to itself; ask the window directly as the base would.
    manager.CCPageManager::presentRect({0, 0, 8, 8});
    lamp->invalidate(false);
    EXPECT_EQ(window.pendingPresents().size(), 1u);
    EXPECT_EQ(window.presentPending(manager), 1);
    EXPECT_EQ(window.image()->pixelAt(5, 5), (CCPixel{0, 0, 255, 255}));
    EXPECT_EQ(window.image()->pixelAt(9, 5).alpha, 0);
    EXPECT_TRUE(window.pendingPresents().empty());
}

// A page's art is left out only where a descendant will paint over all of it
// in the same compose: under an opaque object at full opacity, not under one
// that is fading or hidden.
TEST(Redraw, APagesArtIsLeftOutUnderAnOpaqueDescendantAtFullOpacityOnly) {
    TestModule program;
    program.add(ResourceType::Bitmap, 20, solidDib(64, 64, 32, {10, 20, 30, 255}));
    setProgramResources(&program.module);
    {
        ToolkitSession session;
        TestManager manager;
        manager.openOffscreen();
        CCPage* page = manager.addChild(std::make_unique<CCPage>(0, 0, 64, 64, 1, 20));
        Probe* panel = page->addChild(probe({8, 8, 56, 56}, "panel"));
        // Opaque, and painting nothing: where the art was left out the surface
        // keeps its cleared pixels.
        Probe* display = panel->addChild(probe({8, 8, 24, 24}, "display"));
        display->setOpaque(true);
        const CCPixel art{10, 20, 30, 255};
        const CCPixel cleared{};
        auto pixel = [&](int32_t x, int32_t y) { return manager.surface->surface().pixelAt(x, y); };

        manager.invalidate(false);
        EXPECT_EQ(pixel(20, 20), cleared) << "the art under the opaque display was drawn";
        EXPECT_EQ(pixel(4, 4), art);
        EXPECT_EQ(pixel(12, 20), art) << "left of the display";
        EXPECT_EQ(pixel(45, 20), art) << "right of the display";
        EXPECT_EQ(pixel(20, 12), art) << "above the display";
        EXPECT_EQ(pixel(20, 50), art) << "below the display";

        display->setCurrentOpacity(100); // mid-fade: what is behind shows through
        manager.invalidate(false);
        EXPECT_EQ(pixel(20, 20), art);

        display->setCurrentOpacity(255);
        panel->setOpacity(200); // translucent above it
        manager.invalidate(false);
        EXPECT_EQ(pixel(20, 20), art);
    }
    setProgramResources(nullptr);
}

} // namespace
