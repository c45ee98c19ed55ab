// The parts of the desktop shell that need no display: where the window goes,
// its outline, keys, smooth scrolling and texts.
#include <gtest/gtest.h>

#include <vector>

#include "app/window_placement.h"
#include "platform/gtk/key_map.h"
#include "platform/gtk/shape_runs.h"
#include "platform/gtk/text_codec.h"
#include "platform/gtk/wheel_steps.h"

namespace {

constexpr CCSize kWindow{640, 650};
constexpr CCSize kScreen{1280, 1024};

TEST(WindowPlacement, StoredPositionsComeBackInsideTheScreen) {
    EXPECT_EQ(placement::restore(placement::pack({100, 200}), kWindow, kScreen), (CCPoint{100, 200}));
    // A window left of the screen starts at its edge.
    EXPECT_EQ(placement::restore(placement::pack({-20, 50}), kWindow, kScreen), (CCPoint{0, 50}));
    EXPECT_EQ(placement::restore(placement::pack({30, -5}), kWindow, kScreen), (CCPoint{30, 0}));
    // Past the right or bottom edge: one pixel inside it.
    EXPECT_EQ(placement::restore(placement::pack({1000, 500}), kWindow, kScreen),
              (CCPoint{1280 - 640 - 1, 1024 - 650 - 1}));
    // A screen smaller than the window: the corner.
    EXPECT_EQ(placement::restore(placement::pack({10, 10}), kWindow, {600, 600}), (CCPoint{0, 0}));
    EXPECT_EQ(placement::centre(kWindow, kScreen), (CCPoint{320, 187}));
    EXPECT_EQ(placement::pack({-20, 3}), 0x0003FFECu);
}

// A frame of key colour with body pixels where `body` says.
std::vector<uint8_t> frame(int32_t w, int32_t h, bool (*body)(int32_t x, int32_t y)) {
    std::vector<uint8_t> pixels(static_cast<size_t>(w * h * 4));
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = &pixels[static_cast<size_t>((y * w + x) * 4)];
            if (body(x, y)) {
                p[0] = 30, p[1] = 27, p[2] = 34, p[3] = 255;
            } else {
                p[0] = 255, p[1] = 0, p[2] = 255, p[3] = 255;
            }
        }
    return pixels;
}

TEST(WindowOutline, RowRunsCoverTheBodyAndMergeRepeatedRows) {
    // A body with a hole in the middle and its top corners cut.
    auto pixels = frame(10, 6, [](int32_t x, int32_t y) {
        if (y == 0 && (x == 0 || x == 9)) return false;
        return !(y >= 2 && y <= 3 && x >= 4 && x <= 5);
    });
    const std::vector<CCRect> runs = outlineRuns(pixels.data(), 10, 6, 40);
    const std::vector<CCRect> expected{
        {1, 0, 9, 1}, {0, 1, 10, 2}, {0, 2, 4, 4}, {6, 2, 10, 4}, {0, 4, 10, 6},
    };
    EXPECT_EQ(runs, expected);
    // Every body pixel is covered once, no key pixel at all.
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 10; ++x) {
            int32_t covering = 0;
            for (const CCRect& r : runs)
                covering += r.contains({x, y}) ? 1 : 0;
            const bool key = pixels[static_cast<size_t>((y * 10 + x) * 4) + 1] == 0;
            EXPECT_EQ(covering, key ? 0 : 1) << x << "," << y;
        }
    auto empty = frame(4, 4, [](int32_t, int32_t) { return false; });
    EXPECT_TRUE(outlineRuns(empty.data(), 4, 4, 16).empty());
}

// X11 key values (keysymdef.h); the test names them itself so that only the
// GTK shell includes GTK.
constexpr uint32_t kKey_a = 0x61, kKey_Z = 0x5a, kKey_7 = 0x37, kKey_KP_5 = 0xffb5, kKey_KP_Begin = 0xff9d,
                   kKey_KP_Insert = 0xff9e, kKey_KP_Page_Up = 0xff9a, kKey_Return = 0xff0d,
                   kKey_KP_Enter = 0xff8d, kKey_Escape = 0xff1b, kKey_Delete = 0xffff, kKey_Up = 0xff52,
                   kKey_F13 = 0xffca;

TEST(KeyTranslation, LettersDigitsKeypadAndEditingKeys) {
    EXPECT_EQ(virtualKeyForKeyval(kKey_a), 'A');
    EXPECT_EQ(virtualKeyForKeyval(kKey_Z), 'Z');
    EXPECT_EQ(virtualKeyForKeyval(kKey_7), '7');
    // The keypad's 5 with NumLock on and off is the same key.
    EXPECT_EQ(virtualKeyForKeyval(kKey_KP_5), 101);
    EXPECT_EQ(virtualKeyForKeyval(kKey_KP_Begin), 101);
    EXPECT_EQ(virtualKeyForKeyval(kKey_KP_Insert), 96);
    EXPECT_EQ(virtualKeyForKeyval(kKey_KP_Page_Up), 105);
    EXPECT_EQ(virtualKeyForKeyval(kKey_Return), 13);
    EXPECT_EQ(virtualKeyForKeyval(kKey_KP_Enter), 13);
    EXPECT_EQ(virtualKeyForKeyval(kKey_Escape), 27);
    EXPECT_EQ(virtualKeyForKeyval(kKey_Delete), 46);
    EXPECT_EQ(virtualKeyForKeyval(kKey_Up), 38);
    EXPECT_EQ(virtualKeyForKeyval(kKey_F13), 0);
}

TEST(SmoothScrolling, FractionsAddUpToWholeNotchesAndReversalsStartAfresh) {
    WheelSteps steps;
    EXPECT_EQ(steps.addSmooth(-0.4), 0);
    EXPECT_EQ(steps.addSmooth(-0.4), 0);
    EXPECT_EQ(steps.addSmooth(-0.4), 1) << "away from the player: positive";
    EXPECT_EQ(steps.addSmooth(-2.5), 2);
    EXPECT_EQ(steps.addSmooth(0.3), 0) << "a reversal forgets what was left";
    EXPECT_EQ(steps.addSmooth(0.8), -1);
}

TEST(TextCodec, EightBitTextsRoundTripThroughUtf8) {
    const std::string eightBit = "Caf\xe9 \x80 5\xb0";
    EXPECT_EQ(utf8FromToolkit(eightBit), "Caf\xc3\xa9 \xe2\x82\xac 5\xc2\xb0");
    EXPECT_EQ(toolkitFromUtf8(utf8FromToolkit(eightBit)), eightBit);
    EXPECT_EQ(toolkitFromUtf8("\xe2\x99\xaa"), "?") << "a note has no 8-bit form";
}

} // namespace
