#include "test_support.h"
#include "toolkit/draw_context.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::unique_ptr<CCDrawContext> blackContext(int32_t w, int32_t h) {
    auto ctx = CCDrawContext::createOffscreen(w, h);
    ctx->fillRect({0, 0, w, h}, {0, 0, 0, 255});
    return ctx;
}

TEST(DrawState, SaverRestoresClipOpacityTintAndGrey) {
    auto ctx = blackContext(10, 10);
    {
        CCDrawStateSaver outer(*ctx);
        ctx->clip({2, 2, 8, 8});
        ctx->setOpacity(10);
        {
            CCDrawStateSaver inner(*ctx);
            ctx->clip({5, 0, 20, 4});
            EXPECT_EQ(ctx->clipRect(), (CCRect{5, 2, 8, 4}));
            ctx->setTint({1, 2, 3, 0});
            ctx->setGreyed(true);
        }
        EXPECT_EQ(ctx->clipRect(), (CCRect{2, 2, 8, 8}));
        EXPECT_FALSE(ctx->tint().isSet());
        EXPECT_FALSE(ctx->greyed());
        EXPECT_EQ(ctx->opacity(), 10);
        ctx->clip({20, 20, 30, 30});
        EXPECT_TRUE(ctx->clipRect().isEmpty());
    }
    EXPECT_EQ(ctx->clipRect(), (CCRect{0, 0, 10, 10}));
    EXPECT_EQ(ctx->opacity(), 255);
    EXPECT_EQ(ctx->savedDepth(), 0u);
    ctx->restore(); // unbalanced: traced, state unchanged
    EXPECT_EQ(ctx->clipRect(), (CCRect{0, 0, 10, 10}));
    ctx->setClipRegion({-5, 3, 4, 50});
    EXPECT_EQ(ctx->clipRect(), (CCRect{0, 3, 4, 10}));
}

TEST(DrawFrame, IndexPastTheEndDrawsTheLastFrame) {
    // Frame i of a 600-wide strip holds blue = i in every pixel.
    CCImageStrip strip;
    ASSERT_TRUE(strip.loadFromPackedDib(makeDib(600, 2, 24,
                                                [](int32_t x, int32_t) {
                                                    return CCPixel{uint8_t(x / 60), 0, 0, 0};
                                                }),
                                        true));
    strip.setFrameWidth(60);
    auto ctx = blackContext(70, 2);
    ctx->drawFrame(strip, {5, 0}, 12);
    EXPECT_EQ(ctx->surface().pixelAt(5, 0).blue, 9);
    EXPECT_EQ(ctx->surface().pixelAt(64, 1).blue, 9);
    EXPECT_EQ(ctx->surface().pixelAt(65, 0).blue, 0);
    ctx->drawFrame(strip, {0, 0}, 4);
    EXPECT_EQ(ctx->surface().pixelAt(0, 0).blue, 4);
    EXPECT_EQ(ctx->surface().pixelAt(59, 0).blue, 4);
    EXPECT_EQ(ctx->surface().pixelAt(60, 0).blue, 9);
}

TEST(Fill, OpaqueTranslucentAndUnderOpacity) {
    auto ctx = blackContext(4, 1);
    ctx->fillRect({0, 0, 1, 1}, {200, 100, 50, 255});
    ctx->fillRect({1, 0, 2, 1}, {200, 100, 50, 128});
    ctx->setOpacity(128);
    ctx->fillRect({2, 0, 3, 1}, {200, 100, 50, 255});
    ctx->setOpacity(255);
    ctx->clip({0, 0, 3, 1});
    ctx->fillRect({3, 0, 4, 1}, {255, 255, 255, 255});
    EXPECT_EQ(ctx->surface().pixelAt(0, 0), (CCPixel{50, 100, 200, 255}));
    EXPECT_EQ(ctx->surface().pixelAt(1, 0), (CCPixel{25, 50, 100, 254}));
    EXPECT_EQ(ctx->surface().pixelAt(2, 0), (CCPixel{25, 50, 100, 254}));
    EXPECT_EQ(ctx->surface().pixelAt(3, 0), (CCPixel{0, 0, 0, 255}));
}

// Rows (or columns) that the pen touched on a black surface.
int litPixelsInRow(const CCBitmap& b, int32_t y) {
    int n = 0;
    for (int32_t x = 0; x < b.getWidth(); ++x)
        n += b.pixelAt(x, y).red > 0;
    return n;
}

TEST(Lines, OnePixelPenCoversExactlyItsRow) {
    auto ctx = blackContext(20, 10);
    ctx->setPen({255, 250, 208, 255}, 1.0f);
    ctx->moveTo({2, 4});
    ctx->lineTo({12, 4});
    EXPECT_EQ(litPixelsInRow(ctx->surface(), 3), 0);
    EXPECT_EQ(litPixelsInRow(ctx->surface(), 5), 0);
    EXPECT_EQ(ctx->surface().pixelAt(2, 4), (CCPixel{208, 250, 255, 255}));
    EXPECT_EQ(ctx->surface().pixelAt(11, 4), (CCPixel{208, 250, 255, 255}));
    EXPECT_EQ(ctx->surface().pixelAt(1, 4).red, 0);
    EXPECT_EQ(ctx->surface().pixelAt(13, 4).red, 0);
}

TEST(Lines, AntiAliasedUnlessFastPlotsAndAlwaysClipped) {
    const CCPoint diagonal[] = {{0, 0}, {19, 7}};
    auto smooth = blackContext(20, 10);
    smooth->setPen({255, 255, 255, 255}, 1.5f);
    smooth->drawLines(diagonal);
    setFastPlots(true);
    auto fast = blackContext(20, 10);
    fast->setPen({255, 255, 255, 255}, 1.5f);
    fast->drawLines(diagonal);
    setFastPlots(false);
    auto partial = [](const CCBitmap& b) {
        int n = 0;
        for (int32_t y = 0; y < b.getHeight(); ++y) {
            for (int32_t x = 0; x < b.getWidth(); ++x)
                n += b.pixelAt(x, y).red > 0 && b.pixelAt(x, y).red < 255;
        }
        return n;
    };
    EXPECT_GT(partial(smooth->surface()), 10);
    EXPECT_EQ(partial(fast->surface()), 0);

    auto clipped = blackContext(20, 10);
    clipped->setPen({255, 255, 255, 255}, 3.0f);
    clipped->clip({0, 0, 10, 10});
    const CCPoint across[] = {{0, 5}, {19, 5}};
    clipped->drawLines(across);
    EXPECT_GT(clipped->surface().pixelAt(9, 5).red, 0);
    EXPECT_EQ(clipped->surface().pixelAt(10, 5).red, 0);
}

TEST(Lines, CurvePassesThroughItsPointsAndHonoursOpacity) {
    auto ctx = blackContext(40, 20);
    ctx->setPen({255, 255, 255, 255}, 1.0f);
    ctx->setOpacity(128);
    setFastPlots(true);
    const CCPoint points[] = {{2, 15}, {20, 3}, {37, 15}};
    ctx->drawCurve(points, 0.5f);
    setFastPlots(false);
    EXPECT_NEAR(ctx->surface().pixelAt(20, 3).red, 128, 1);
    EXPECT_EQ(ctx->surface().pixelAt(20, 2).red, 0);
    EXPECT_EQ(ctx->surface().pixelAt(20, 10).red, 0);
}

TEST(Blit, CopiesUnblendedAndStretches) {
    auto src = CCDrawContext::createOffscreen(2, 2);
    src->fillRect({0, 0, 1, 2}, {10, 20, 30, 255});
    src->fillRect({1, 0, 2, 2}, {40, 50, 60, 128});
    auto dst = blackContext(6, 4);
    dst->blit(*src, {0, 0, 2, 2}, {0, 0});
    EXPECT_EQ(dst->surface().pixelAt(1, 1), src->surface().pixelAt(1, 1));
    dst->stretchBlit(*src, {0, 0, 2, 2}, {2, 0, 6, 4});
    EXPECT_EQ(dst->surface().pixelAt(3, 3), src->surface().pixelAt(0, 0));
    EXPECT_EQ(dst->surface().pixelAt(4, 0), src->surface().pixelAt(1, 0));
    // Within one surface, overlapping.
    dst->blit(*dst, {0, 0, 2, 2}, {1, 1});
    EXPECT_EQ(dst->surface().pixelAt(1, 1), src->surface().pixelAt(0, 0));
    EXPECT_EQ(dst->surface().pixelAt(2, 2), src->surface().pixelAt(1, 1));
}

TEST(ScaledImages, ScaleAndOpacity) {
    CCBitmap src;
    ASSERT_TRUE(src.loadFromPackedDib(makeDib(2, 1, 24,
                                              [](int32_t x, int32_t) {
                                                  return x ? CCPixel{0, 0, 200, 0} : CCPixel{200, 0, 0, 0};
                                              }),
                                      true));
    auto ctx = blackContext(8, 4);
    ctx->drawImageScaled(src, {0, 0, 8, 4}, {0, 0, 2, 1}, CCInterpolation::Nearest);
    EXPECT_EQ(ctx->surface().pixelAt(0, 0), (CCPixel{200, 0, 0, 255}));
    EXPECT_EQ(ctx->surface().pixelAt(7, 3), (CCPixel{0, 0, 200, 255}));
    auto faded = blackContext(2, 1);
    faded->drawImageWithOpacity(src, {0, 0, 2, 1}, {0, 0, 2, 1}, 128);
    EXPECT_NEAR(faded->surface().pixelAt(0, 0).blue, 100, 1);
}

TEST(Png, WritesTheSurface) {
    auto ctx = blackContext(4, 3);
    ctx->fillRect({1, 1, 3, 2}, {255, 170, 40, 255});
    std::string path = std::string(TOVAN_TEST_OUTPUT_DIR) + "/draw_context_png.png";
    ASSERT_TRUE(ctx->writePng(path));
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    unsigned char magic[8] = {};
    EXPECT_EQ(std::fread(magic, 1, 8, f), 8u);
    std::fclose(f);
    EXPECT_EQ(magic[1], 'P');
    EXPECT_FALSE(ctx->writePng("/nonexistent-folder/x.png"));
}

} // namespace
