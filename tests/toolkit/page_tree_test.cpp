#include "page_test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(PageTree, InsertionMakesCoordinatesAbsoluteAndRemovalMakesThemRelativeAgain) {
    TestManager manager({0, 0, 400, 400});
    Probe* parent = manager.addChild(probe({100, 50, 300, 250}, "parent"));
    auto owned = probe({10, 10, 20, 20}, "child");
    owned->setHitInsets(-2, -2, 2, 2);
    Probe* grandchild = owned->addChild(probe({2, 3, 4, 5}, "grandchild"));
    EXPECT_EQ(grandchild->getBounds(), (CCRect{12, 13, 14, 15})); // already under its own parent

    Probe* child = parent->addChild(std::move(owned));
    EXPECT_EQ(child->getParent(), parent);
    EXPECT_EQ(child->getBounds(), (CCRect{110, 60, 120, 70}));
    EXPECT_EQ(child->getHitRect(), (CCRect{108, 58, 122, 72}));
    EXPECT_EQ(grandchild->getBounds(), (CCRect{112, 63, 114, 65}));
    EXPECT_TRUE(child->isVisible());
    EXPECT_EQ(child->boundsChanges, 1);

    std::unique_ptr<CCPageObject> removed = manager.removeChild(child);
    ASSERT_EQ(removed.get(), child);
    EXPECT_EQ(child->getParent(), nullptr);
    EXPECT_EQ(child->getBounds(), (CCRect{10, 10, 20, 20}));
    EXPECT_EQ(grandchild->getBounds(), (CCRect{12, 13, 14, 15}));
    EXPECT_FALSE(child->isVisible());
    EXPECT_FALSE(grandchild->isVisible());
    EXPECT_EQ(parent->childCount(), 0);
    EXPECT_EQ(manager.removeChild(child), nullptr); // no longer in the tree
}

TEST(PageTree, ChildrenKeepInsertionOrderAndAreVisitedDepthFirst) {
    CCPageObject root(0, 0, 100, 100);
    Probe* a = root.addChild(probe({0, 0, 10, 10}, "a", nullptr, 1));
    a->addChild(probe({0, 0, 1, 1}, "a1", nullptr, 2));
    root.addChild(probe({0, 0, 10, 10}, "b", nullptr, 2));
    std::string order;
    root.visitDescendants([&](CCPageObject& o) {
        order += static_cast<Probe&>(o).name + " ";
        return false;
    });
    EXPECT_EQ(order, "a a1 b ");
    EXPECT_EQ(static_cast<Probe*>(root.findByTag(2))->name, "a1");
    EXPECT_EQ(root.findByTag(77), nullptr);
    EXPECT_EQ(root.childCount(), 2);
}

TEST(PageTree, HitTestExcludesRightAndBottomEdgesAndPrefersTheHitRectangle) {
    CCPageObject o(10, 10, 20, 20);
    EXPECT_TRUE(o.hitTest({10, 10}));
    EXPECT_TRUE(o.hitTest({19, 19}));
    EXPECT_FALSE(o.hitTest({20, 15}));
    EXPECT_FALSE(o.hitTest({15, 20}));
    EXPECT_FALSE(o.hitTest({9, 15}));
    o.setHitInsets(-5, 0, 5, 0);
    EXPECT_TRUE(o.hitTest({24, 15}));
    EXPECT_FALSE(o.hitTest({15, 9}));
    // Zero width counts as empty even though the height is not: the bounds apply.
    o.setHitInsets(10, 0, 0, 0);
    EXPECT_TRUE(o.hitTest({12, 12}));
}

TEST(PageTree, GeometryMovesWholeSubtrees) {
    CCPageObject root(0, 0, 200, 200);
    Probe* box = root.addChild(probe({10, 10, 31, 21}, "box"));
    Probe* inner = box->addChild(probe({1, 1, 2, 2}, "inner"));
    box->centreOn({100, 100});
    EXPECT_EQ(box->getBounds(), (CCRect{90, 95, 111, 106})); // halves of 21 and 11 truncate
    EXPECT_EQ(inner->getBounds(), (CCRect{91, 96, 92, 97}));
    box->setBounds({0, 0, 50, 60});
    EXPECT_EQ(box->getBounds(), (CCRect{0, 0, 50, 60}));
    EXPECT_EQ(inner->getBounds(), (CCRect{1, 1, 2, 2}));
    Probe* other = root.addChild(probe({100, 100, 110, 120}, "other"));
    box->centreIn(*other);
    EXPECT_EQ(box->getBounds(), (CCRect{80, 80, 130, 140}));
    EXPECT_EQ(inner->toLocal(85, 90), (CCPoint{4, 9}));
}

TEST(PageTree, OverlapFlagsFollowStrictIntersectionAfterEachChange) {
    CCPageObject root(0, 0, 100, 100);
    Probe* a = root.addChild(probe({0, 0, 10, 10}, "a"));
    Probe* b = root.addChild(probe({10, 0, 20, 10}, "b")); // touches a only
    EXPECT_FALSE(a->overlapsSibling());
    EXPECT_FALSE(b->overlapsSibling());
    Probe* c = root.addChild(probe({5, 5, 15, 15}, "c"));
    EXPECT_TRUE(a->overlapsSibling());
    EXPECT_TRUE(b->overlapsSibling());
    EXPECT_TRUE(c->overlapsSibling());
    root.removeChild(c);
    EXPECT_FALSE(a->overlapsSibling());
    EXPECT_FALSE(b->overlapsSibling());
}

TEST(PageTree, GroupValueShowsOnlyChildrenWhoseMaskMatches) {
    EventLog log;
    CCPageObject root(0, 0, 100, 100);
    Probe* tabs = root.addChild(probe({0, 0, 100, 100}, "tabs", &log));
    Probe* one = tabs->addChild(probe({0, 0, 10, 10}, "one", &log, kTagNone, 0x0001));
    Probe* two = tabs->addChild(probe({0, 0, 10, 10}, "two", &log, kTagNone, 0x0002));
    Probe* both = tabs->addChild(probe({0, 0, 10, 10}, "both", &log, kTagNone, 0x0003));
    Probe* always = tabs->addChild(probe({0, 0, 10, 10}, "always", &log));
    Probe* insideOne = one->addChild(probe({0, 0, 1, 1}, "insideOne", &log));
    // A nested switcher inside tab two keeps its own selection.
    Probe* sub = two->addChild(probe({0, 0, 5, 5}, "sub", &log));
    Probe* subA = sub->addChild(probe({0, 0, 1, 1}, "subA", &log, kTagNone, 0x0001));
    Probe* subB = sub->addChild(probe({0, 0, 1, 1}, "subB", &log, kTagNone, 0x0002));
    sub->setGroup(0x0001);
    EXPECT_TRUE(tabs->isSwitcher());
    EXPECT_FALSE(root.isSwitcher());

    always->setGroup(0); // not a switcher: nothing changes
    tabs->setGroup(0x0002);
    EXPECT_EQ(tabs->getGroupValue(), 0x0002);
    EXPECT_FALSE(one->isShown());
    EXPECT_FALSE(insideOne->isShown());
    EXPECT_TRUE(two->isShown());
    EXPECT_TRUE(both->isShown());
    EXPECT_TRUE(always->isShown());
    EXPECT_TRUE(subA->isShown());
    EXPECT_FALSE(subB->isShown());
    EXPECT_TRUE(log.contains("insideOne:hidden"));
    EXPECT_FALSE(log.contains("always:hidden"));

    // Below an object with a group selector the state is not passed on.
    one->setHasSelector(true);
    tabs->setGroup(0x0001);
    EXPECT_TRUE(one->isShown());
    EXPECT_FALSE(insideOne->isShown());
    EXPECT_FALSE(two->isShown());
    EXPECT_FALSE(sub->isShown());
}

TEST(PageTree, ViewsAreBoundOnInsertionAndForgottenOnRemoval) {
    BindingHost host;
    TestManager manager({0, 0, 100, 100});
    manager.attachWindow(nullptr, nullptr, &host);
    auto page = probe({0, 0, 100, 100}, "page");
    Probe* knob = page->addChild(probe({0, 0, 10, 10}, "knob", nullptr, 3));
    page->addChild(probe({0, 0, 10, 10}, "label", nullptr, kTagNone));
    page->addChild(probe({0, 0, 10, 10}, "command", nullptr, 12)); // beyond the parameters
    Probe* added = manager.addChild(std::move(page));
    ASSERT_EQ(host.views.size(), 1u);
    EXPECT_EQ(host.views[3], knob);

    auto removed = manager.removeChild(added);
    EXPECT_TRUE(host.views.empty());
}

TEST(PageTree, RemovalClearsEveryManagerReferenceIntoTheSubtree) {
    TestManager manager({0, 0, 100, 100});
    Probe* page = manager.addChild(probe({0, 0, 100, 100}, "page"));
    Probe* knob = page->addChild(probe({0, 0, 10, 10}, "knob"));
    manager.setCapture(knob, true);
    manager.setHover(knob);
    manager.setPopupEdit(knob);
    EXPECT_TRUE(knob->hasCapture());
    auto removed = manager.removeChild(page);
    EXPECT_EQ(manager.captureObject(), nullptr);
    EXPECT_EQ(manager.hoverObject(), nullptr);
    EXPECT_EQ(manager.popupEditObject(), nullptr);
}

} // namespace
