#include "editor_test_support.h"

#include "platform/headless/headless_window.h"
#include "toolkit/cursor.h"
#include "toolkit/page_manager.h"

#include <vector>

namespace {

// The display on a page under a manager with a headless window whose client
// area starts at (100, 200) on the screen.
class FilterDrag : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        manager = std::make_unique<CCPageManager>(CCRect{0, 0, 640, 650}, nullptr, false);
        manager->attachWindow(&window, nullptr, nullptr);
        display = manager->addChild(makeDisplay());
        display->setShown({.filter1 = true, .filter2 = true});
    }
    void TearDown() override {
        manager.reset();
        EditorTest::TearDown();
    }

    // A mouse message at a client point; the screen point follows the window.
    CCMouseMsg mouse(uint16_t code, CCPoint client) {
        CCMouseMsg msg(code, client.x, client.y);
        msg.screenX = client.x + 100;
        msg.screenY = client.y + 200;
        return msg;
    }
    bool send(uint16_t code, CCPoint client) {
        CCMouseMsg msg = mouse(code, client);
        return manager->dispatch(msg);
    }
    // Presses at `at` and moves the mouse by each step from the press point;
    // the display puts the cursor back after every move.
    void drag(CCPoint at, std::vector<CCPoint> steps) {
        ASSERT_TRUE(send(kMsgLeftDown, at));
        for (CCPoint s : steps)
            send(kMsgMouseMove, {at.x + s.x, at.y + s.y});
        ASSERT_TRUE(send(kMsgLeftUp, at));
    }

    HeadlessWindow window{640, 650, {100, 200}};
    std::unique_ptr<CCPageManager> manager;
    CTovanFilterCtrl* display = nullptr;
};

TEST_F(FilterDrag, SweepDragMovesFrequencyByTenAndHeightByOnePerPixel) {
    display->setPoint(1, 1000, 50);
    display->setPoint(7, 3000, 50);
    const CCPoint at = centre(display->getHitRect(0));

    EXPECT_FALSE(send(kMsgLeftDown, {5, 5})); // a miss is not taken
    ASSERT_TRUE(send(kMsgLeftDown, at));
    EXPECT_EQ(display->draggedHandle(), 1);
    EXPECT_EQ(manager->captureObject(), display);
    EXPECT_FALSE(window.cursorVisible());
    EXPECT_FALSE(send(kMsgMouseMove, at)); // no movement, nothing to do
    EXPECT_TRUE(send(kMsgMouseMove, {at.x + 3, at.y - 2}));
    EXPECT_EQ(display->getPoint(1), (CCValuePair{1030, 52}));
    // The cursor is held at the press point, so each move counts from there.
    EXPECT_EQ(window.cursorScreenPosition(), (CCPoint{at.x + 100, at.y + 200}));
    send(kMsgMouseMove, {at.x - 10, at.y + 5});
    EXPECT_EQ(display->getPoint(1), (CCValuePair{930, 47}));
    EXPECT_EQ(display->getPoint(7), (CCValuePair{3000, 50}));

    // Release: the cursor shows again over the moved handle.
    EXPECT_TRUE(send(kMsgLeftUp, at));
    EXPECT_EQ(display->draggedHandle(), 0);
    EXPECT_EQ(manager->captureObject(), nullptr);
    EXPECT_TRUE(window.cursorVisible());
    const CCPoint now = centre(display->getHitRect(0));
    EXPECT_EQ(window.cursorScreenPosition(), (CCPoint{now.x + 100, now.y + 200}));
    EXPECT_NE(now, at);
    EXPECT_TRUE(display->takeChanged());
    EXPECT_FALSE(display->takeChanged());
}

TEST_F(FilterDrag, DragsStopAtTheChartEdges) {
    display->setPoint(10, 3990, 98);
    drag(centre(display->getHitRect(3)), {{5, -10}});
    EXPECT_EQ(display->getPoint(10), (CCValuePair{4000, 100}));
    EXPECT_TRUE(display->takeChanged());
    // Once at the edge, a drag that goes further changes nothing at all.
    drag(centre(display->getHitRect(3)), {{2, -2}});
    EXPECT_FALSE(display->takeChanged());
    EXPECT_EQ(display->getPoint(10), (CCValuePair{4000, 100}));
}

TEST_F(FilterDrag, VowelDragMovesTheFilterOnEachAxis) {
    display->setViewMode(1);
    display->setPoint(2, 500, 0);
    display->setPoint(8, 1500, 0);
    display->setPoint(3, 0, 40);

    // Clear orientation: across is filter 2, up is filter 1.
    drag(centre(display->getHitRect(0)), {{2, -3}});
    EXPECT_EQ(display->getPoint(15), (CCValuePair{530, 1520}));
    EXPECT_EQ(display->getPoint(1), (CCValuePair{530, 40}));
    EXPECT_EQ(display->getPoint(7).first, 1520);

    // Up past 1200 Hz stops there.
    drag(centre(display->getHitRect(0)), {{0, -100}});
    EXPECT_EQ(display->getPoint(15).first, 1200);

    // Set orientation: across is filter 1, up is filter 2, which now stops at 1200 Hz.
    display->setOrientation(0, true);
    drag(centre(display->getHitRect(0)), {{4, 0}});
    EXPECT_EQ(display->getPoint(15), (CCValuePair{1240, 1200}));
    drag(centre(display->getHitRect(0)), {{0, 30}});
    EXPECT_EQ(display->getPoint(15), (CCValuePair{1240, 900}));
    EXPECT_EQ(display->getPoint(7).first, 900);
}

// The page's parameter controls the write-back fills.
class WriteBack : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        for (int32_t tag : {17, 15, 16, 14, 56, 54, 55, 53})
            controls.push_back(page->addChild(std::make_unique<CControl>(tag, 0, 0, 10, 10, 0, 4000)));
        display = page->addChild(makeDisplay());
        display->setShown({.filter1 = true, .filter2 = true});
        display->setPoint(1, 1000, 20);
        display->setPoint(4, 2000, 80);
        display->setPoint(7, 300, 30);
        display->setPoint(10, 900.7f, 70);
    }
    void TearDown() override {
        page.reset();
        EditorTest::TearDown();
    }
    int32_t valueOf(int32_t tag) { return dynamic_cast<CControl*>(page->findByTag(tag))->getValue(); }
    // Drags a sweep handle (by hit rectangle index) without a window.
    void dragBy(int32_t index, int32_t dx, int32_t dy) {
        const CCPoint at = centre(display->getHitRect(index));
        CCMouseMsg msg(kMsgLeftDown, at.x, at.y);
        msg.screenX = at.x;
        msg.screenY = at.y;
        ASSERT_TRUE(display->onMouse(msg));
        msg.code = kMsgMouseMove;
        msg.screenX += dx;
        msg.screenY += dy;
        ASSERT_TRUE(display->onMouse(msg));
        msg.code = kMsgLeftUp;
        display->onMouse(msg);
    }
    bool writeBack() {
        return writeBackFilterPoints(*display, *page, [&](int32_t tag) { queued.push_back(tag); });
    }

    std::unique_ptr<CCPageObject> page = std::make_unique<CCPageObject>(0, 0, 640, 650);
    std::vector<CControl*> controls;
    CTovanFilterCtrl* display = nullptr;
    std::vector<int32_t> queued;
};

TEST_F(WriteBack, CopiesOnlyWhatTheUserDragged) {
    // Values from the page are not the user's: nothing to write back.
    EXPECT_FALSE(writeBack());

    // The controls hold the rows the drag does not move, so only the dragged ones go out.
    const int32_t held[] = {1000, 20, 2000, 80, 300, 30, 900, 70};
    for (size_t i = 0; i < controls.size(); ++i)
        controls[i]->setValue(held[i], Notify::no, Redraw::no, SelfOnly::yes);
    dragBy(3, 1, -5);
    EXPECT_TRUE(writeBack());
    EXPECT_EQ(valueOf(55), 910); // 900.7 + 10, truncated
    EXPECT_EQ(valueOf(53), 75);
    EXPECT_EQ(queued, (std::vector<int32_t>{55, 53}));
    EXPECT_FALSE(writeBack());
}

TEST_F(WriteBack, RowsGoInOrderAndMissingControlsAreSkipped) {
    page->removeChild(page->findByTag(54));
    dragBy(0, -2, 0); // every control still at 0: all rows go out
    EXPECT_TRUE(writeBack());
    EXPECT_EQ(queued, (std::vector<int32_t>{17, 15, 16, 14, 56, 55, 53}));
    EXPECT_EQ(valueOf(17), 980);
    EXPECT_EQ(valueOf(16), 2000);
    EXPECT_EQ(valueOf(53), 70);
}

} // namespace
