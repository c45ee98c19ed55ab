#include "editor_test_support.h"

#include "editor/lfo_waveform.h"
#include "resources/resource_ids.h"
#include "toolkit/bitmap_registry.h"
#include "toolkit/draw_context.h"
#include "toolkit/font.h"

#include <string>

namespace {

CCPoint operator+(CCPoint a, CCPoint b) {
    return {a.x + b.x, a.y + b.y};
}

class FilterDraw : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        ctx = CCDrawContext::createOffscreen(600, 270);
        ASSERT_TRUE(ctx);
        display = makeDisplay({10, 78});
    }
    // The display gives its bitmaps back while the toolkit still runs.
    void TearDown() override {
        display.reset();
        EditorTest::TearDown();
    }
    // The display as the page draws it: clipped to its bounds.
    void render() {
        ctx->fillRect({0, 0, 600, 270}, {255, 0, 255, 255});
        display->draw(*ctx);
    }
    CCPixel at(CCPoint p) const { return ctx->surface().pixelAt(p.x, p.y); }
    // A page point of a plot pixel.
    static CCPoint page(CCPoint plotPixel) { return {plotPixel.x + 10, plotPixel.y + 78}; }
    void save(const std::string& name) {
        EXPECT_TRUE(ctx->writePng(std::string(TOVAN_TEST_OUTPUT_DIR) + "/" + name));
    }
    // Both filters with their own curves, as a preset might set them.
    void showPreset() {
        display->setShown({.filter1 = true, .filter2 = true});
        display->setCurve(0, -9);
        display->setCurve(1, 9);
        display->setPoint(1, 250, 15);
        display->setPoint(4, 1800, 85);
        display->setPoint(7, 900, 70);
        display->setPoint(10, 3200, 30);
    }

    std::unique_ptr<CCDrawContext> ctx;
    std::unique_ptr<CTovanFilterCtrl> display;
};

TEST_F(FilterDraw, HandlesPathsAndMarkersOfBothFilters) {
    showPreset();
    display->setPoint(13, 1000, 50);
    display->setPoint(14, 2500, 50);
    render();
    save("filter_display_sweep.png");
    EXPECT_EQ(at({display->getBounds().right, 100}), (CCPixel{255, 0, 255, 255}))
        << "nothing outside the bounds";
    // The 1 kHz grid line is where a 1 kHz handle lands.
    const CCPoint grid = page(display->sweepPixel(1000, 30));
    EXPECT_GT(at(grid).green, at({grid.x + 3, grid.y}).green + 20);

    // Heel discs of filter 1 amber, of filter 2 pale green (3 pixels off the dark core).
    const CCPixel heel1 = at(page(display->sweepPixel(250, 15)) + CCPoint{-3, 0});
    EXPECT_GT(heel1.red, 200);
    EXPECT_LT(heel1.blue, 90);
    const CCPixel heel2 = at(page(display->sweepPixel(900, 70)) + CCPoint{-3, 0});
    EXPECT_GT(heel2.green, heel2.red);
    EXPECT_GT(heel2.blue, 100);

    // Filter 1 starts slowly: its path is faint near the heel and bright near the toe.
    auto pathBrightness = [&](float fraction) {
        const CCPoint p = page(display->sweepPixel(250 + 1550 * fraction, 15 + 70 * fraction));
        return int(at(p).red);
    };
    EXPECT_GT(pathBrightness(0.85f), pathBrightness(0.25f) + 30);

    // Markers sit on the page over the composed chart.
    const CCSize m = bitmapSize(resid::kMarker1);
    const CCPoint marker1 = display->getMarkerPosition(0) + CCPoint{(m.width + 1) / 2, (m.height + 1) / 2};
    EXPECT_EQ(marker1, page(display->sweepPixel(1000, 50)));
    const CCPixel ring = at(marker1 + CCPoint{5, 0});
    EXPECT_GT(ring.red, 200);
    EXPECT_GT(ring.blue, 100);
}

TEST_F(FilterDraw, MarkerMovesOnlyRedrawTheMarkers) {
    showPreset();
    render();
    const CCPoint first = page(display->sweepPixel(2500, 50)) + CCPoint{5, 0};
    const CCPoint second = page(display->sweepPixel(3500, 50)) + CCPoint{5, 0};
    const CCPixel plainFirst = at(first), plainSecond = at(second);
    display->setPoint(14, 2500, 50);
    render();
    EXPECT_NE(at(first), plainFirst);
    display->setPoint(14, 3500, 50);
    EXPECT_FALSE(display->isImageDirty());
    render();
    EXPECT_EQ(at(first), plainFirst) << "the old marker left no trace";
    EXPECT_NE(at(second), plainSecond);
    display->setPoint(14, 3, 50); // the filter is idle: hidden
    render();
    EXPECT_EQ(at(second), plainSecond);
    // A hidden filter shows no marker either.
    display->setPoint(14, 3500, 50);
    display->setShown({.filter1 = true, .filter2 = false});
    render();
    EXPECT_EQ(at(second), plainSecond);
}

TEST_F(FilterDraw, VowelPointsWearTheirOrientationsHandles) {
    showPreset();
    display->setViewMode(1);
    display->setPoint(2, 300, 0);
    display->setPoint(8, 2700, 0);
    display->setPoint(5, 2000, 0);
    display->setPoint(11, 800, 0);
    display->updateVowelOrientation();
    ASSERT_FALSE(display->getOrientation(0));
    ASSERT_TRUE(display->getOrientation(1));
    display->setPoint(13, 700, 40);
    display->setPoint(14, 1100, 40);
    render();
    save("filter_display_vowel.png");

    const CCPixel heel = at(page(display->vowelPixel(300, 2700, false)) + CCPoint{-3, 0});
    EXPECT_GT(heel.red, 200);
    EXPECT_LT(heel.blue, 90) << "filter 1 plays the lower formant: its heel handle";
    const CCPixel toe = at(page(display->vowelPixel(2000, 800, true)) + CCPoint{-3, 0});
    EXPECT_GT(toe.green, toe.red) << "filter 2 plays the lower formant: its toe handle";

    // One flag set: both markers, at the two readings of the live pair.
    const CCSize m = bitmapSize(resid::kMarker1);
    const CCPoint m1 = display->getMarkerPosition(0) + CCPoint{(m.width + 1) / 2, (m.height + 1) / 2};
    const CCPoint m2 = display->getMarkerPosition(1) + CCPoint{(m.width + 1) / 2, (m.height + 1) / 2};
    EXPECT_EQ(m1, page(display->vowelPixel(700, 1100, false)));
    EXPECT_EQ(m2, page(display->vowelPixel(700, 1100, true)));
    EXPECT_GT(at(m1 + CCPoint{5, 0}).red, 200);
    EXPECT_GT(at(m2 + CCPoint{5, 0}).red, 200);

    // Without both filters there is no vowel to show.
    display->setShown({.filter1 = true, .filter2 = false});
    render();
    const CCPixel hidden = at(page(display->vowelPixel(300, 2700, false)) + CCPoint{-3, 0});
    EXPECT_LT(hidden.red + 40, heel.red);
}

TEST_F(FilterDraw, FadingRecomposesEveryFrame) {
    showPreset();
    display->setFadingTree(true);
    ctx->setOpacity(128);
    render();
    EXPECT_TRUE(display->isImageDirty());
    display->setFadingTree(false);
    ctx->setOpacity(255);
    render();
    EXPECT_FALSE(display->isImageDirty());
    // Disabling changes the look, so it recomposes.
    display->setEnabled(false, 48);
    EXPECT_TRUE(display->isImageDirty());
}

// Not only a check: sheets for people to look at (test-artefacts).
TEST_F(FilterDraw, LfoShapesSheet) {
    auto sheet = CCDrawContext::createOffscreen(400, 270);
    ASSERT_TRUE(sheet);
    sheet->fillRect({0, 0, 400, 270}, {34, 27, 22, 255});
    const char* names[] = {"Sine", "Triangle", "Square", "Saw up", "Saw dn", "Trapezoid", "Random"};
    CCFontInterface* font = getFont();
    for (int32_t v = 0; v < 7; ++v) {
        CLFOWaveform w({90, 8 + 36 * v, 250, 36 + 36 * v});
        w.setShape(CLFOWaveform::shapeForParameter(v));
        w.setTrapezoid(30, 20);
        w.draw(*sheet);
        if (font) font->drawText(*sheet, names[v], {10, 8 + 36 * v, 86, 36 + 36 * v}, kAlignLeft);
    }
    CLFOWaveform steep({260, 8 + 36 * 5, 380, 36 + 36 * 5});
    steep.setShape(CLFOWaveform::kTrapezoid);
    steep.setTrapezoid(100, 0);
    steep.draw(*sheet);
    EXPECT_TRUE(sheet->writePng(std::string(TOVAN_TEST_OUTPUT_DIR) + "/lfo_waveforms.png"));
    // The sine's first crest and the frame.
    EXPECT_EQ(sheet->surface().pixelAt(150, 8), (CCPixel{91, 113, 118, 255}));
    EXPECT_GT(sheet->surface().pixelAt(112, 12).red, 200);
}

} // namespace
