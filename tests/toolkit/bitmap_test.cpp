#include "test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(BitmapLoad, PremultipliesTranslucentPixelsOnce) {
    auto dib = makeDib(2, 1, 32, [](int32_t x, int32_t) {
        return x == 0 ? CCPixel{200, 100, 50, 128} : CCPixel{200, 100, 50, 255};
    });
    CCBitmap b;
    ASSERT_TRUE(b.loadFromPackedDib(dib, true));
    EXPECT_TRUE(b.getHasAlpha());
    EXPECT_EQ(b.pixelAt(0, 0), (CCPixel{100, 50, 25, 128}));
    EXPECT_EQ(b.pixelAt(1, 0), (CCPixel{200, 100, 50, 255}));
    EXPECT_FALSE(b.isFullyOpaque());
}

TEST(BitmapLoad, TwentyFourBitRowsArePaddedAndReadBottomUp) {
    // Width 3 at 3 bytes a pixel is 9 bytes, padded to a 12-byte stride.
    auto dib = makeDib(3, 2, 24, [](int32_t x, int32_t y) {
        return CCPixel{uint8_t(10 * x), uint8_t(100 + y), 7, 0};
    });
    ASSERT_EQ(dib.size(), 40u + 24u);
    CCBitmap b;
    ASSERT_TRUE(b.loadFromPackedDib(dib, true));
    EXPECT_EQ(b.getStride(), 12);
    EXPECT_FALSE(b.getHasAlpha());
    EXPECT_EQ(b.pixelAt(2, 0), (CCPixel{20, 100, 7, 255}));
    EXPECT_EQ(b.pixelAt(2, 1), (CCPixel{20, 101, 7, 255}));
    // Coordinates outside the image are clamped to its edge.
    EXPECT_EQ(b.pixelAt(-5, 9), (CCPixel{0, 101, 7, 255}));
}

TEST(BitmapLoad, RefusesDataThatDoesNotHoldWhatItsHeaderClaims) {
    auto dib = solidDib(4, 4, 32, {1, 2, 3, 255});
    CCBitmap b;
    EXPECT_FALSE(b.loadFromPackedDib(std::span(dib).first(dib.size() - 1), true));
    EXPECT_FALSE(b.isValid());
    EXPECT_FALSE(b.loadFromPackedDib({}, true));

    auto eightBit = dib;
    eightBit[14] = 8;
    EXPECT_FALSE(b.loadFromPackedDib(eightBit, true));
    auto compressed = dib;
    compressed[16] = 1;
    EXPECT_FALSE(b.loadFromPackedDib(compressed, true));
    auto huge = dib;
    huge[7] = 0x7F; // width in the hundreds of millions
    EXPECT_FALSE(b.loadFromPackedDib(huge, true));

    // A failed load also discards what was loaded before.
    ASSERT_TRUE(b.loadFromPackedDib(dib, true));
    EXPECT_FALSE(b.loadFromPackedDib(eightBit, true));
    EXPECT_FALSE(b.isValid());
    EXPECT_EQ(b.pixelAt(0, 0), CCPixel{});
}

TEST(BitmapLoad, NegativeHeightMeansTopDownRows) {
    auto dib = makeDib(1, 2, 32, [](int32_t, int32_t y) { return CCPixel{uint8_t(y), 0, 0, 255}; });
    // Flip the header's height and the row order together.
    int32_t h = -2;
    std::memcpy(dib.data() + 8, &h, 4);
    std::swap_ranges(dib.begin() + 40, dib.begin() + 44, dib.begin() + 44);
    CCBitmap b;
    ASSERT_TRUE(b.loadFromPackedDib(dib, true));
    EXPECT_TRUE(b.isTopDown());
    EXPECT_EQ(b.pixelAt(0, 1).blue, 1);
}

int decodeCalls = 0;
void invertHook(uint8_t* pixels, size_t size, const BitmapInfoHeader& header) {
    ++decodeCalls;
    EXPECT_EQ(header.bitCount, 32);
    for (size_t i = 0; i < size; ++i)
        pixels[i] = uint8_t(~pixels[i]);
}

TEST(BitmapLoad, DecodeHookRunsBeforePremultiplication) {
    // Stored enciphered: the hook turns ~(200, 100, 50, 128) into the real pixel.
    auto dib = solidDib(1, 1, 32, {uint8_t(~200), uint8_t(~100), uint8_t(~50), uint8_t(~128)});
    ASSERT_TRUE(setToolkitHook(0, invertHook));
    decodeCalls = 0;
    CCBitmap b;
    ASSERT_TRUE(b.loadFromPackedDib(dib, true));
    EXPECT_EQ(decodeCalls, 1);
    EXPECT_EQ(b.pixelAt(0, 0), (CCPixel{100, 50, 25, 128}));
    // Without decode the hook is not called.
    ASSERT_TRUE(b.loadFromPackedDib(solidDib(1, 1, 32, {1, 2, 3, 255}), false));
    EXPECT_EQ(decodeCalls, 1);
    setToolkitHook(0, PixelDecodeHook{nullptr});
    EXPECT_FALSE(setToolkitHook(1, invertHook));
}

TEST(BitmapOps, BlankSectionCopyReplaceAndGrey) {
    CCBitmap blank;
    ASSERT_TRUE(blank.createBlank(3, 2));
    EXPECT_EQ(blank.pixelAt(2, 1), (CCPixel{255, 255, 255, 255}));
    CCBitmap section;
    ASSERT_TRUE(section.createSection(3, 2));
    EXPECT_EQ(section.pixelAt(0, 0), CCPixel{});
    CCBitmap empty;
    EXPECT_FALSE(empty.createSection(0, 5));
    EXPECT_FALSE(empty.isValid());

    ASSERT_TRUE(section.copyPixelsFrom(blank));
    EXPECT_EQ(section.pixelAt(1, 1), (CCPixel{255, 255, 255, 255}));
    CCBitmap other;
    ASSERT_TRUE(other.createBlank(2, 2));
    EXPECT_FALSE(section.copyPixelsFrom(other));

    CCBitmap rgb;
    ASSERT_TRUE(rgb.loadFromPackedDib(makeDib(2, 1, 24,
                                              [](int32_t x, int32_t) {
                                                  return x ? CCPixel{1, 2, 3, 0} : CCPixel{255, 0, 255, 0};
                                              }),
                                      true));
    rgb.replaceColour({255, 0, 255}, {10, 20, 30});
    EXPECT_EQ(rgb.pixelAt(0, 0), (CCPixel{30, 20, 10, 255}));
    EXPECT_EQ(rgb.pixelAt(1, 0), (CCPixel{1, 2, 3, 255}));

    const uint8_t grey[] = {0, 128, 255, 64, 64, 64};
    ASSERT_TRUE(section.makeAlphaFromGrey(grey, {200, 100, 40, 255}));
    EXPECT_EQ(section.pixelAt(0, 0), (CCPixel{0, 0, 0, 0}));
    EXPECT_EQ(section.pixelAt(1, 0), (CCPixel{20, 50, 100, 128}));
    EXPECT_EQ(section.pixelAt(2, 0), (CCPixel{39, 99, 199, 255}));
    EXPECT_EQ(section.pixelAt(0, 1).alpha, 64);
    EXPECT_FALSE(section.makeAlphaFromGrey(std::span(grey).first(5), {}));
}

TEST(ImageStrip, FramesByWidthOrCount) {
    CCImageStrip strip;
    ASSERT_TRUE(strip.loadFromPackedDib(solidDib(600, 2, 24, {}), true));
    strip.setFrameWidth(60);
    EXPECT_EQ(strip.getFrameCount(), 10);
    EXPECT_EQ(strip.frameRect(3), (CCRect{180, 0, 240, 2}));
    EXPECT_EQ(strip.frameRect(12), (CCRect{540, 0, 600, 2}));
    EXPECT_EQ(strip.frameRect(-1), (CCRect{0, 0, 60, 2}));
    strip.setFrameCount(7); // 600 / 7 = 85, the rest is unused
    EXPECT_EQ(strip.getFrameWidth(), 85);
    EXPECT_EQ(strip.frameRect(6), (CCRect{510, 0, 595, 2}));
    strip.setFrameWidth(0); // no divisor: one frame, not a division by zero
    EXPECT_EQ(strip.getFrameCount(), 1);
}

} // namespace
