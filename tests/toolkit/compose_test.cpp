#include "test_support.h"
#include "toolkit/draw_context.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr CCPixel kGreyDest{100, 100, 100, 255};

struct Mode {
    bool greyed = false;
    uint8_t opacity = 255;
    CCTint tint{};
};

// Composes one source pixel (given straight, as a resource stores it) onto one
// destination pixel and returns the result.
CCPixel composeOne(CCPixel source, int bits, Mode mode, bool alwaysOpaque = false) {
    CCBitmap src;
    EXPECT_TRUE(src.loadFromPackedDib(solidDib(1, 1, bits, source), true));
    src.setAlwaysOpaque(alwaysOpaque);
    CCBitmap dst;
    EXPECT_TRUE(dst.createSection(1, 1));
    std::memcpy(dst.row(0), &kGreyDest, 4);
    src.composeInto(dst, {0, 0, 1, 1}, {0, 0}, mode.greyed, mode.opacity, mode.tint);
    return dst.pixelAt(0, 0);
}

// Composes a row of source pixels onto a row of the grey destination, so that
// whole groups of pixels go through the compositor together, as on a page.
std::vector<CCPixel> composeRow(const std::vector<CCPixel>& sources, Mode mode, bool alwaysOpaque = false) {
    const int32_t n = static_cast<int32_t>(sources.size());
    CCBitmap src;
    EXPECT_TRUE(src.loadFromPackedDib(
        makeDib(n, 1, 32, [&](int32_t x, int32_t) { return sources[size_t(x)]; }), true));
    src.setAlwaysOpaque(alwaysOpaque);
    CCBitmap dst;
    EXPECT_TRUE(dst.createSection(n, 1));
    for (int32_t x = 0; x < n; ++x)
        std::memcpy(dst.row(0) + 4 * x, &kGreyDest, 4);
    src.composeInto(dst, {0, 0, n, 1}, {0, 0}, mode.greyed, mode.opacity, mode.tint);
    std::vector<CCPixel> out;
    for (int32_t x = 0; x < n; ++x)
        out.push_back(dst.pixelAt(x, 0));
    return out;
}

TEST(Compositor, PlainAtAlphaZeroHalfAndFull) {
    EXPECT_EQ(composeOne({200, 100, 50, 0}, 32, {}), kGreyDest);
    // d * (255 - a) >> 8 + premultiplied source (100, 50, 25).
    EXPECT_EQ(composeOne({200, 100, 50, 128}, 32, {}), (CCPixel{149, 99, 74, 254}));
    EXPECT_EQ(composeOne({200, 100, 50, 255}, 32, {}), (CCPixel{200, 100, 50, 255}));
    // 24-bit sources count as opaque.
    EXPECT_EQ(composeOne({200, 100, 50, 0}, 24, {}), (CCPixel{200, 100, 50, 255}));
}

TEST(Compositor, GreyedUsesHalfTheUnpremultipliedAverageLifted) {
    // Average of 200, 100, 50 is 116; 116 / 2 + 112 = 170.
    EXPECT_EQ(composeOne({200, 100, 50, 255}, 32, {.greyed = true}), (CCPixel{170, 170, 170, 255}));
    EXPECT_EQ(composeOne({200, 100, 50, 128}, 32, {.greyed = true}), (CCPixel{134, 134, 134, 254}));
    EXPECT_EQ(composeOne({200, 100, 50, 0}, 32, {.greyed = true}), kGreyDest);
    EXPECT_EQ(composeOne({200, 100, 50, 0}, 24, {.greyed = true}), (CCPixel{170, 170, 170, 255}));
}

TEST(Compositor, OpacityScalesTheSourceAlpha) {
    EXPECT_EQ(composeOne({200, 100, 50, 255}, 32, {.opacity = 128}), (CCPixel{149, 99, 74, 254}));
    EXPECT_EQ(composeOne({200, 100, 50, 128}, 32, {.opacity = 128}), (CCPixel{124, 99, 87, 254}));
    EXPECT_EQ(composeOne({200, 100, 50, 0}, 32, {.opacity = 128}), kGreyDest);
    EXPECT_EQ(composeOne({200, 100, 50, 255}, 32, {.opacity = 0}), kGreyDest);
    EXPECT_EQ(composeOne({200, 100, 50, 0}, 24, {.opacity = 128}), (CCPixel{149, 99, 74, 254}));
}

TEST(Compositor, TintMultipliesEachChannel) {
    const CCTint amber{255, 128, 0, 0};
    // Source channels become (0, 50, 49) in blue, green, red.
    EXPECT_EQ(composeOne({200, 100, 50, 255}, 32, {.tint = amber}), (CCPixel{0, 50, 49, 254}));
    EXPECT_EQ(composeOne({200, 100, 50, 128}, 32, {.tint = amber}), (CCPixel{50, 74, 73, 254}));
    EXPECT_EQ(composeOne({200, 100, 50, 0}, 32, {.tint = amber}), kGreyDest);
    // Tint and opacity together.
    EXPECT_EQ(composeOne({200, 100, 50, 255}, 32, {.opacity = 128, .tint = amber}),
              (CCPixel{50, 74, 74, 254}));
}

// The same pixels as above, side by side in one row: eight together, then a
// rest of three, each of the results written out above by hand.
TEST(Compositor, ARowMixingTransparentHalfAndOpaquePixelsComposesEachAsAlone) {
    const CCPixel none{200, 100, 50, 0}, half{200, 100, 50, 128}, full{200, 100, 50, 255};
    const std::vector<CCPixel> row{none, half, full, half, full, full, full, full, none, half, full};
    const CCPixel g = kGreyDest;
    EXPECT_EQ(composeRow(row, {}), (std::vector<CCPixel>{g,
                                                         {149, 99, 74, 254},
                                                         {200, 100, 50, 255},
                                                         {149, 99, 74, 254},
                                                         {200, 100, 50, 255},
                                                         {200, 100, 50, 255},
                                                         {200, 100, 50, 255},
                                                         {200, 100, 50, 255},
                                                         g,
                                                         {149, 99, 74, 254},
                                                         {200, 100, 50, 255}}));
    const CCPixel halfFaded{124, 99, 87, 254}, fullFaded{149, 99, 74, 254};
    EXPECT_EQ(composeRow(row, {.opacity = 128}),
              (std::vector<CCPixel>{g, halfFaded, fullFaded, halfFaded, fullFaded, fullFaded, fullFaded,
                                    fullFaded, g, halfFaded, fullFaded}));
    const CCTint amber{255, 128, 0, 0};
    const CCPixel halfAmber{50, 74, 73, 254}, fullAmber{0, 50, 49, 254};
    EXPECT_EQ(composeRow(row, {.tint = amber}),
              (std::vector<CCPixel>{g, halfAmber, fullAmber, halfAmber, fullAmber, fullAmber, fullAmber,
                                    fullAmber, g, halfAmber, fullAmber}));
    // An always-opaque image copies its tinted opaque pixels and blends the others.
    const CCPixel fullCopied{0, 50, 49, 255};
    // Premultiplied (100, 50, 25) tinted to (0, 25, 24); opacity 128 gives t 64, weight 128, inverse 191.
    const CCPixel halfFadedAmber{74, 87, 86, 254};
    EXPECT_EQ(composeRow(row, {.opacity = 128, .tint = amber}, true),
              (std::vector<CCPixel>{g, halfFadedAmber, fullCopied, halfFadedAmber, fullCopied, fullCopied,
                                    fullCopied, fullCopied, g, halfFadedAmber, fullCopied}));
}

TEST(Compositor, AlwaysOpaqueBitmapsCopyTheirOpaquePixels) {
    const CCTint amber{255, 128, 0, 0};
    EXPECT_EQ(composeOne({200, 100, 50, 255}, 32, {.opacity = 128, .tint = amber}, true),
              (CCPixel{0, 50, 49, 255}));
    // Translucent pixels of the same bitmap still blend.
    EXPECT_EQ(composeOne({200, 100, 50, 128}, 32, {.opacity = 128}, true), (CCPixel{124, 99, 87, 254}));
}

TEST(Compositor, ClipsToDestinationAndSource) {
    CCBitmap src;
    ASSERT_TRUE(src.loadFromPackedDib(makeDib(4, 4, 24,
                                              [](int32_t x, int32_t y) {
                                                  return CCPixel{uint8_t(x), uint8_t(y), 9, 0};
                                              }),
                                      true));
    CCBitmap dst;
    ASSERT_TRUE(dst.createSection(3, 3));
    // Asked for more than either holds: only the overlap is written.
    src.composeInto(dst, {-1, 1, 10, 10}, {0, 0}, false, 255, {});
    EXPECT_EQ(dst.pixelAt(0, 0), CCPixel{});
    EXPECT_EQ(dst.pixelAt(0, 1), (CCPixel{1, 0, 9, 255}));
    EXPECT_EQ(dst.pixelAt(2, 2), (CCPixel{3, 1, 9, 255}));
    CCBitmap far;
    ASSERT_TRUE(far.createSection(3, 3));
    src.composeInto(far, {0, 0, 3, 3}, {3, 3}, false, 255, {});
    EXPECT_EQ(far.pixelAt(0, 0), (CCPixel{3, 3, 9, 255}));
    EXPECT_EQ(far.pixelAt(1, 1), CCPixel{});
}

TEST(DrawBitmap, ClipRectangleAndSourcePointMoveTogether) {
    auto ctx = CCDrawContext::createOffscreen(8, 8);
    ASSERT_TRUE(ctx);
    CCBitmap src;
    ASSERT_TRUE(src.loadFromPackedDib(makeDib(4, 4, 32,
                                              [](int32_t x, int32_t y) {
                                                  return CCPixel{uint8_t(x), uint8_t(y), 0, 255};
                                              }),
                                      true));
    {
        CCDrawStateSaver saver(*ctx);
        ctx->clip({3, 3, 5, 5});
        ctx->drawBitmap(src, {2, 2});
    }
    EXPECT_EQ(ctx->surface().pixelAt(2, 2), CCPixel{});
    EXPECT_EQ(ctx->surface().pixelAt(3, 3), (CCPixel{1, 1, 0, 255}));
    EXPECT_EQ(ctx->surface().pixelAt(4, 4), (CCPixel{2, 2, 0, 255}));
    EXPECT_EQ(ctx->surface().pixelAt(5, 5), CCPixel{});
    EXPECT_EQ(ctx->clipRect(), (CCRect{0, 0, 8, 8}));

    // A source point and size select part of the bitmap.
    ctx->drawBitmap(src, {6, 0}, {2, 1}, CCSize{2, 2});
    EXPECT_EQ(ctx->surface().pixelAt(6, 0), (CCPixel{2, 1, 0, 255}));
    EXPECT_EQ(ctx->surface().pixelAt(7, 1), (CCPixel{3, 2, 0, 255}));
    EXPECT_EQ(ctx->surface().pixelAt(6, 2), CCPixel{});
}

TEST(DrawBitmap, ContextStateSelectsTheMode) {
    auto ctx = CCDrawContext::createOffscreen(2, 1);
    ASSERT_TRUE(ctx);
    CCBitmap src;
    ASSERT_TRUE(src.loadFromPackedDib(solidDib(1, 1, 24, {200, 100, 50, 0}), true));
    ctx->fillRect({0, 0, 2, 1}, {100, 100, 100, 255});
    {
        CCDrawStateSaver saver(*ctx);
        ctx->setGreyed(true);
        ctx->drawBitmap(src, {0, 0});
        ctx->setGreyed(false);
        ctx->setOpacity(128);
        ctx->drawBitmap(src, {1, 0});
    }
    EXPECT_EQ(ctx->surface().pixelAt(0, 0), (CCPixel{170, 170, 170, 255}));
    EXPECT_EQ(ctx->surface().pixelAt(1, 0), (CCPixel{149, 99, 74, 254}));
    EXPECT_EQ(ctx->opacity(), 255);
    EXPECT_FALSE(ctx->greyed());
}

} // namespace
