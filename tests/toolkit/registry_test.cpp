#include "test_support.h"
#include "toolkit/bitmap_registry.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        program.add(ResourceType::Bitmap, 10, solidDib(600, 4, 32, {1, 2, 3, 255}));
        program.add(ResourceType::Bitmap, 11, solidDib(5, 6, 24, {4, 5, 6, 0}));
        program.add(ResourceType::Bitmap, 12, {1, 2, 3}); // corrupt
        setProgramResources(&program.module);
    }
    void TearDown() override { setProgramResources(nullptr); }

    TestModule program;
    ToolkitSession session;
};

TEST_F(Registry, SameIdIsSharedAndDeletedAfterTheLastRelease) {
    CCBitmap* a = acquireBitmap(10);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(acquireBitmap(10), a);
    EXPECT_EQ(bitmapReferenceCount(10), 2);
    EXPECT_EQ(bitmapSlotsInUse(), 1);
    EXPECT_EQ(bitmapTotalReferences(), 2);
    EXPECT_EQ(releaseBitmap(a), 1);
    EXPECT_EQ(releaseBitmap(a), 0);
    EXPECT_EQ(bitmapSlotsInUse(), 0);
    EXPECT_EQ(bitmapTotalReferences(), 0);
    // The slot is gone: another release is a fault that changes nothing.
    EXPECT_EQ(releaseBitmap(a), 0);
    EXPECT_EQ(bitmapTotalReferences(), 0);
}

TEST_F(Registry, MissingOrCorruptResourcesYieldNone) {
    EXPECT_EQ(acquireBitmap(99), nullptr);
    EXPECT_EQ(acquireBitmap(12), nullptr);
    EXPECT_EQ(acquireStrip(12, 2), nullptr);
    EXPECT_EQ(bitmapSlotsInUse(), 0);
    EXPECT_EQ(bitmapSize(99), CCSize{});
}

TEST_F(Registry, StripsAreCutOnceAndReportTheirFrameSize) {
    CCImageStrip* strip = acquireStrip(10, 60);
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->getFrameCount(), 10);
    EXPECT_EQ(bitmapSize(10), (CCSize{60, 4}));
    // The same id as a plain bitmap while the strip is held shares the strip.
    EXPECT_EQ(acquireBitmap(10), strip);
    EXPECT_EQ(acquireStripByCount(10, 3), strip);
    EXPECT_EQ(bitmapReferenceCount(10), 3);
    for (int i = 0; i < 3; ++i)
        releaseBitmap(strip);

    CCImageStrip* byCount = acquireStripByCount(10, 4);
    ASSERT_NE(byCount, nullptr);
    EXPECT_EQ(byCount->getFrameWidth(), 150);
    releaseBitmap(byCount);
    EXPECT_EQ(bitmapSize(11), (CCSize{5, 6}));
    EXPECT_EQ(bitmapSlotsInUse(), 0);
}

TEST_F(Registry, APlainBitmapHeldIsNotHandedOutAsAStrip) {
    CCBitmap* plain = acquireBitmap(10);
    CCImageStrip* strip = acquireStrip(10, 100);
    ASSERT_NE(strip, nullptr);
    EXPECT_NE(static_cast<CCBitmap*>(strip), plain);
    EXPECT_EQ(strip->getFrameCount(), 6);
    EXPECT_EQ(bitmapSlotsInUse(), 2);
    releaseBitmap(plain);
    releaseBitmap(strip);
    EXPECT_EQ(bitmapSlotsInUse(), 0);
}

TEST_F(Registry, ModulesAddedAreSearchedBeforeTheProgram) {
    TestModule extra;
    extra.add(ResourceType::Bitmap, 11, solidDib(2, 2, 24, {}));
    addResourceModule(&extra.module);
    EXPECT_EQ(bitmapSize(11), (CCSize{2, 2}));
    EXPECT_EQ(bitmapSize(10), (CCSize{600, 4}));
}

TEST_F(Registry, KeepLoadedKeepsBitmapsForTheNextAcquire) {
    setKeepLoaded(true);
    CCBitmap* a = acquireBitmap(11);
    EXPECT_EQ(releaseBitmap(a), 0);
    EXPECT_EQ(bitmapSlotsInUse(), 1);
    EXPECT_EQ(acquireBitmap(11), a);
    EXPECT_EQ(bitmapReferenceCount(11), 1);
    // releaseAll frees what nobody holds and leaves held bitmaps alone.
    CCBitmap* b = acquireBitmap(10);
    releaseBitmap(b);
    EXPECT_EQ(releaseAll(), 1);
    EXPECT_EQ(bitmapSlotsInUse(), 1);
    EXPECT_EQ(acquireBitmap(11), a);
    releaseBitmap(a);
    releaseBitmap(a);
    EXPECT_EQ(releaseAll(), 0);
    EXPECT_EQ(bitmapSlotsInUse(), 0);
}

TEST_F(Registry, FullRegistryRefusesNewIdsButSharesLoadedOnes) {
    TestModule many;
    auto tiny = solidDib(1, 1, 24, {});
    for (int32_t id = 1000; id < 1000 + kBitmapRegistrySlots + 1; ++id)
        many.add(ResourceType::Bitmap, id, tiny);
    addResourceModule(&many.module);
    std::vector<CCBitmap*> held;
    for (int32_t id = 1000; id < 1000 + kBitmapRegistrySlots; ++id)
        held.push_back(acquireBitmap(id));
    EXPECT_EQ(std::count(held.begin(), held.end(), nullptr), 0);
    EXPECT_EQ(acquireBitmap(1000 + kBitmapRegistrySlots), nullptr);
    EXPECT_EQ(acquireBitmap(1000), held[0]);
    releaseBitmap(held[0]);
    for (CCBitmap* b : held)
        releaseBitmap(b);
    EXPECT_EQ(bitmapSlotsInUse(), 0);
}

TEST_F(Registry, ConcurrentAcquireAndReleaseKeepCountsExact) {
    auto worker = [] {
        for (int i = 0; i < 500; ++i) {
            CCBitmap* b = acquireBitmap(11);
            ASSERT_NE(b, nullptr);
            releaseBitmap(b);
        }
    };
    CCBitmap* held = acquireBitmap(10);
    std::thread t1(worker), t2(worker);
    t1.join();
    t2.join();
    EXPECT_EQ(bitmapTotalReferences(), 1);
    releaseBitmap(held);
}

TEST(RegistryLifecycle, StartAndStopAreCounted) {
    ASSERT_FALSE(toolkitRunning());
    TestModule program;
    program.add(ResourceType::Bitmap, 1, solidDib(1, 1, 24, {}));
    setProgramResources(&program.module);
    EXPECT_EQ(acquireBitmap(1), nullptr);
    toolkitStart();
    toolkitStart();
    toolkitStop();
    EXPECT_TRUE(toolkitRunning());
    CCBitmap* b = acquireBitmap(1);
    EXPECT_NE(b, nullptr);
    releaseBitmap(b);
    toolkitStop();
    EXPECT_FALSE(toolkitRunning());
    EXPECT_EQ(acquireBitmap(1), nullptr);
    setProgramResources(nullptr);
}

} // namespace
