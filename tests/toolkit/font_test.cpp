#include "platform/trace.h"
#include "resources/resources.h"
#include "test_support.h"
#include "toolkit/bitmap_registry.h"
#include "toolkit/draw_context.h"
#include "toolkit/font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct Ink {
    int32_t left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN; // inclusive
    int maxRed = 0;
    bool empty() const { return left > right; }
    int32_t width() const { return right - left + 1; }
};

Ink inkOf(const CCBitmap& b) {
    Ink ink;
    for (int32_t y = 0; y < b.getHeight(); ++y) {
        for (int32_t x = 0; x < b.getWidth(); ++x) {
            int red = b.pixelAt(x, y).red;
            if (red == 0) continue;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
            ink.maxRed = std::max(ink.maxRed, red);
        }
    }
    return ink;
}

class Fonts : public ::testing::Test {
protected:
    void SetUp() override { setProgramResources(&tovanProgramResources()); }
    void TearDown() override { setProgramResources(nullptr); }

    std::unique_ptr<CCDrawContext> black(int32_t w = 160, int32_t h = 40) {
        auto ctx = CCDrawContext::createOffscreen(w, h);
        ctx->fillRect({0, 0, w, h}, {0, 0, 0, 255});
        return ctx;
    }

    ToolkitSession session;
};

TEST_F(Fonts, CacheSharesOneFontPerDescriptor) {
    CCFont* a = getFont();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(getFont(CCFontDescriptor{}), a);
    CCFontDescriptor big;
    big.size = 14;
    CCFont* b = getFont(big);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_EQ(b->pointSize(), 14);
    EXPECT_GT(b->textWidth("Tovan"), a->textWidth("Tovan"));
    EXPECT_EQ(a->textWidth(""), 0);
    EXPECT_EQ(a->measureText("Wah"), a->textWidth("Wah"));
}

TEST_F(Fonts, EachAlignmentPlacesTheTextInsideItsRectangle) {
    const CCRect rect{20, 8, 140, 32};
    CCFont* font = getFont();
    ASSERT_NE(font, nullptr);
    const std::string text = "Heel 42%";
    int32_t width = font->textWidth(text);
    Ink inks[3];
    for (int32_t align = 0; align < 3; ++align) {
        auto ctx = black();
        font->drawText(*ctx, text, rect, align);
        Ink ink = inkOf(ctx->surface());
        ASSERT_FALSE(ink.empty()) << align;
        EXPECT_GE(ink.left, rect.left) << align;
        EXPECT_LT(ink.right, rect.right) << align;
        EXPECT_GE(ink.top, rect.top) << align;
        EXPECT_LT(ink.bottom, rect.bottom) << align;
        // The formula counts one column of slack beyond the ink.
        EXPECT_LE(ink.width(), width) << align;
        EXPECT_GE(ink.width(), width - 2) << align;
        // Vertically centred: equal margins within a pixel or two.
        EXPECT_NEAR(ink.top - rect.top, rect.bottom - 1 - ink.bottom, 3) << align;
        inks[align] = ink;
    }
    EXPECT_LE(inks[0].left - rect.left, 1);
    EXPECT_LE(rect.right - 1 - inks[1].right, 1);
    EXPECT_NEAR(inks[2].left - rect.left, rect.right - 1 - inks[2].right, 1);
    // Same line, same baseline.
    EXPECT_EQ(inks[0].bottom, inks[1].bottom);
    EXPECT_EQ(inks[0].top, inks[2].top);
}

TEST_F(Fonts, ShortenedAlignmentDropsWhatDoesNotFit) {
    CCFont* font = getFont();
    const CCRect rect{10, 0, 60, 20};
    const std::string text = "Envelope sensitivity";
    ASSERT_GT(font->textWidth(text), rect.width());
    auto shortened = black(160, 20);
    font->drawText(*shortened, text, rect, kAlignLeftShortened);
    Ink ink = inkOf(shortened->surface());
    ASSERT_FALSE(ink.empty());
    EXPECT_LT(ink.right, rect.right);
    // Whole characters only: the last one drawn is not cut by the clip.
    auto wide = black(160, 20);
    font->drawText(*wide, text, {10, 0, 160, 20}, kAlignLeftShortened);
    for (int32_t y = 0; y < 20; ++y) {
        EXPECT_EQ(shortened->surface().pixelAt(rect.right - 1, y).red, 0) << y;
    }
    // Plain left alignment clips instead.
    auto clipped = black(160, 20);
    font->drawText(*clipped, text, rect, kAlignLeft);
    EXPECT_EQ(inkOf(clipped->surface()).right, rect.right - 1);
}

TEST_F(Fonts, GlyphsTakeTheFontColourAndContextOpacity) {
    CCFontDescriptor d;
    d.size = 20;
    d.colour = {255, 170, 40, 255};
    CCFont* font = getFont(d);
    auto full = black(80, 40);
    font->drawText(*full, "I", {0, 0, 80, 40}, kAlignCentre);
    Ink ink = inkOf(full->surface());
    ASSERT_FALSE(ink.empty());
    // The stem of a capital I is solid: pure font colour there.
    CCPixel stem = full->surface().pixelAt((ink.left + ink.right) / 2, (ink.top + ink.bottom) / 2);
    EXPECT_EQ(stem, (CCPixel{40, 170, 255, 255}));

    auto faded = black(80, 40);
    faded->setOpacity(128);
    font->drawText(*faded, "I", {0, 0, 80, 40}, kAlignCentre);
    CCPixel half = faded->surface().pixelAt((ink.left + ink.right) / 2, (ink.top + ink.bottom) / 2);
    EXPECT_NEAR(half.red, 128, 1);
    EXPECT_NEAR(half.green, 85, 1);
}

// A text drawn where the same text was drawn before may be copied from what
// that drawing left; the copy must be what drawing gives, whatever lies under it.
TEST_F(Fonts, ATextDrawnAgainComesOutAsDrawnOverWhatIsUnderItNow) {
    CCFont* font = getFont();
    const CCRect place{0, 0, 160, 40};
    auto filled = [&](CCColour background) {
        auto ctx = black();
        ctx->fillRect(place, background);
        return ctx;
    };
    auto pixels = [](const CCDrawContext& ctx) {
        const CCBitmap& b = ctx.surface();
        std::vector<CCPixel> out;
        for (int32_t y = 0; y < b.getHeight(); ++y)
            for (int32_t x = 0; x < b.getWidth(); ++x)
                out.push_back(b.pixelAt(x, y));
        return out;
    };
    // First over blue, the reference for blue.
    auto blue = filled({40, 60, 200, 255});
    font->drawText(*blue, "Tovan 42", place, kAlignCentre);
    const auto overBlue = pixels(*blue);

    auto dark = filled({0, 0, 0, 255});
    font->drawText(*dark, "Tovan 42", place, kAlignCentre);
    const auto overBlack = pixels(*dark);
    ASSERT_FALSE(inkOf(dark->surface()).empty());
    // Nothing of the blue background comes along with the text.
    const CCPixel blueBackground = blue->surface().pixelAt(0, 0);
    EXPECT_EQ(std::count(overBlack.begin(), overBlack.end(), blueBackground), 0);

    auto again = filled({0, 0, 0, 255});
    font->drawText(*again, "Tovan 42", place, kAlignCentre);
    EXPECT_EQ(pixels(*again), overBlack) << "the same text over the same pixels";

    auto blueAgain = filled({40, 60, 200, 255});
    font->drawText(*blueAgain, "Tovan 42", place, kAlignCentre);
    EXPECT_EQ(pixels(*blueAgain), overBlue) << "the same text over other pixels is drawn over them";
    const auto overBlueAgain = pixels(*blueAgain);
    EXPECT_EQ(std::count(overBlueAgain.begin(), overBlueAgain.end(), dark->surface().pixelAt(0, 0)), 0);

    auto otherText = filled({0, 0, 0, 255});
    font->drawText(*otherText, "Tovan 43", place, kAlignCentre);
    EXPECT_NE(pixels(*otherText), overBlack) << "another text in the same place";

    auto faded = filled({0, 0, 0, 255});
    faded->setOpacity(128);
    font->drawText(*faded, "Tovan 42", place, kAlignCentre);
    EXPECT_LT(inkOf(faded->surface()).maxRed, inkOf(dark->surface()).maxRed)
        << "the same text at another opacity";
}

TEST_F(Fonts, NoFontWithoutToolkitOrData) {
    setProgramResources(nullptr);
    CCFontDescriptor other;
    other.size = 31;
    EXPECT_EQ(getFont(other), nullptr);
}

TEST_F(Fonts, BitmapFontDrawsOneFramePerCharacter) {
    // Characters '0'..'3', each frame 4 x 6 filled with blue = 10 * digit + 1.
    TestModule module;
    module.add(ResourceType::Bitmap, 50, makeDib(16, 6, 24, [](int32_t x, int32_t) {
                   return CCPixel{uint8_t(10 * (x / 4) + 1), 0, 0, 0};
               }));
    addResourceModule(&module.module);
    CCBitmapFont font(acquireStrip(50, 4), '0');
    EXPECT_EQ(font.textWidth("123"), 12);
    EXPECT_EQ(font.pointSize(), 6 * 100 / 72);

    auto ctx = black(40, 10);
    font.drawText(*ctx, "31", {0, 0, 40, 10}, kAlignRight);
    // Right edge kept 2 pixels clear; vertically (10 - 6 + 2) / 2 = 3 down.
    EXPECT_EQ(ctx->surface().pixelAt(37, 3).blue, 11);
    EXPECT_EQ(ctx->surface().pixelAt(38, 3).blue, 0);
    EXPECT_EQ(ctx->surface().pixelAt(30, 3).blue, 31);
    EXPECT_EQ(ctx->surface().pixelAt(30, 2).blue, 0);

    auto at = black(40, 10);
    font.drawTextAt(*at, "0x", {10, 1}, kAlignLeft);
    EXPECT_EQ(at->surface().pixelAt(10, 1).blue, 1);
    EXPECT_EQ(at->surface().pixelAt(14, 1).blue, 0); // no frame for 'x'
}

bool digitsFont(BitmapFontLayout& layout) {
    layout = {51, 4, '0'};
    return true;
}

TEST_F(Fonts, SharedBitmapFontComesFromTheHookAndIsMadeOnce) {
    EXPECT_EQ(sharedBitmapFont(), nullptr);
    EXPECT_FALSE(setToolkitHook(0, digitsFont));
    ASSERT_TRUE(setToolkitHook(2, digitsFont));
    TestModule module;
    module.add(ResourceType::Bitmap, 51, solidDib(40, 8, 24, {}));
    addResourceModule(&module.module);
    {
        // A fresh toolkit session asks the hook again.
        toolkitStop();
        toolkitStart();
        addResourceModule(&module.module);
        CCBitmapFont* font = sharedBitmapFont();
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(sharedBitmapFont(), font);
        EXPECT_EQ(font->textWidth("12"), 8);
        EXPECT_EQ(bitmapReferenceCount(51), 1);
    }
    setToolkitHook(1, BitmapFontHook{nullptr});
    // The font gives its strip back before the registry goes: nothing is left held.
    std::string traced;
    TraceSink previous = setTraceSink([&](std::string_view text) { traced += text; });
    toolkitStop();
    setTraceSink(previous);
    EXPECT_EQ(traced, "");
    toolkitStart();
}

} // namespace
