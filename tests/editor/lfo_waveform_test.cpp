#include "editor/lfo_waveform.h"

#include "toolkit/draw_context.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// The main page's waveform: 160 x 28 at (0, 62). Inner rectangle (0, 62, 159, 89):
// the wave runs from y 66 (high) to 85 (low) around 75, from x 2, 156 wide.
CLFOWaveform pageWaveform() {
    return CLFOWaveform({0, 62, 160, 90});
}

std::vector<int32_t> xs(std::span<const CCPoint> points) {
    std::vector<int32_t> out;
    for (CCPoint p : points)
        out.push_back(p.x);
    return out;
}

std::vector<int32_t> ys(std::span<const CCPoint> points) {
    std::vector<int32_t> out;
    for (CCPoint p : points)
        out.push_back(p.y);
    return out;
}

TEST(LfoWaveform, TrapezoidFollowsRiseAndFall) {
    CLFOWaveform w = pageWaveform();
    w.setShape(CLFOWaveform::kTrapezoid);
    w.setTrapezoid(30, 20);
    std::span<const CCPoint> p = w.computePoints();
    EXPECT_EQ(xs(w.templatePoints()), (std::vector<int32_t>{0, 30, 55, 75, 100}));
    // Period 78 pixels: x = k * 78 + percent * 78 / 100 + 2.
    EXPECT_EQ(xs(p), (std::vector<int32_t>{2, 25, 44, 60, 80, 80, 103, 122, 138, 158}));
    EXPECT_EQ(ys(p), (std::vector<int32_t>{85, 66, 66, 85, 85, 85, 66, 66, 85, 85}));

    // All rise: no rest, and the wave drops straight down at the period's end.
    w.setTrapezoid(100, 0);
    w.computePoints();
    EXPECT_EQ(xs(w.templatePoints()), (std::vector<int32_t>{0, 100, 100, 100, 100}));
    EXPECT_EQ(xs(w.computePoints()).at(1), 80);
    EXPECT_EQ(xs(w.computePoints()).at(3), 80);

    // No slopes: high for the first half, low for the second.
    w.setTrapezoid(0, 0);
    w.computePoints();
    EXPECT_EQ(xs(w.templatePoints()), (std::vector<int32_t>{0, 0, 50, 50, 100}));
    EXPECT_EQ(ys(w.templatePoints()), (std::vector<int32_t>{85, 66, 66, 85, 85}));

    // Rise and fall never add up past a whole period.
    w.setTrapezoid(80, 40);
    EXPECT_EQ(w.getRise(), 80);
    EXPECT_EQ(w.getFall(), 20);
    w.setTrapezoid(-5, 300);
    EXPECT_EQ(w.getRise(), 0);
    EXPECT_EQ(w.getFall(), 100);
}

TEST(LfoWaveform, TemplateShapesRepeatOverTwoPeriods) {
    CLFOWaveform w = pageWaveform();
    w.setShape(CLFOWaveform::kTriangle);
    EXPECT_EQ(xs(w.computePoints()), (std::vector<int32_t>{2, 41, 80, 80, 119, 158}));
    EXPECT_EQ(ys(w.computePoints()), (std::vector<int32_t>{85, 66, 85, 85, 66, 85}));
    w.setShape(CLFOWaveform::kSawDown);
    EXPECT_EQ(xs(w.computePoints()), (std::vector<int32_t>{2, 2, 80, 80, 80, 158}));
}

TEST(LfoWaveform, SineStartsAtTheMiddleAndRisesFirst) {
    CLFOWaveform w = pageWaveform();
    w.setShape(CLFOWaveform::kSine);
    std::span<const CCPoint> p = w.computePoints();
    ASSERT_EQ(p.size(), 159u);
    EXPECT_EQ(p.front(), (CCPoint{2, 75}));
    EXPECT_EQ(p[20], (CCPoint{22, 66})); // a quarter period in: the top
    EXPECT_EQ(p[60].y, 84);              // three quarters: the bottom
    EXPECT_EQ(p.back().x, 160);
    for (CCPoint q : p) {
        ASSERT_GE(q.y, 66);
        ASSERT_LE(q.y, 84);
    }
}

TEST(LfoWaveform, RandomIsSixFixedSteps) {
    CLFOWaveform w = pageWaveform();
    w.setShape(CLFOWaveform::kRandom);
    std::span<const CCPoint> p = w.computePoints();
    EXPECT_EQ(xs(p), (std::vector<int32_t>{2, 28, 28, 54, 54, 80, 80, 106, 106, 132, 132, 158}));
    EXPECT_EQ(ys(p), (std::vector<int32_t>{66, 66, 75, 75, 81, 81, 69, 69, 82, 82, 75, 75}));
}

TEST(LfoWaveform, FollowsItsBoundsAndSurvivesTinySizes) {
    CCPageObject panel(0, 292, 306, 592);
    CLFOWaveform* w = panel.addChild(std::make_unique<CLFOWaveform>(CCRect{0, 62, 160, 90}));
    EXPECT_EQ(w->getInnerRect(), (CCRect{0, 354, 159, 381}));
    w->setShape(CLFOWaveform::kTriangle);
    EXPECT_EQ(w->computePoints().front(), (CCPoint{2, 377}));

    // Too small to show anything sensible, but never short of room for the points.
    CLFOWaveform tiny({0, 0, 3, 3});
    for (int32_t shape = 0; shape <= 6; ++shape) {
        tiny.setShape(shape);
        tiny.setTrapezoid(30, 20);
        EXPECT_LE(tiny.computePoints().size(), 12u);
    }
    tiny.setShape(42); // not a shape: nothing drawn
    EXPECT_TRUE(tiny.computePoints().empty());
    EXPECT_EQ(CLFOWaveform::shapeForParameter(0), CLFOWaveform::kSine);
    EXPECT_EQ(CLFOWaveform::shapeForParameter(6), CLFOWaveform::kRandom);
}

TEST(LfoWaveform, DrawsACreamLineInAnOliveFrame) {
    auto ctx = CCDrawContext::createOffscreen(160, 28);
    ASSERT_TRUE(ctx);
    ctx->fillRect({0, 0, 160, 28}, {20, 15, 12, 255});
    CLFOWaveform w({0, 0, 160, 28});
    w.setShape(CLFOWaveform::kSquare);
    w.draw(*ctx);
    const CCPixel olive{91, 113, 118, 255};
    EXPECT_EQ(ctx->surface().pixelAt(60, 0), olive);
    EXPECT_EQ(ctx->surface().pixelAt(159, 14), olive);
    EXPECT_EQ(ctx->surface().pixelAt(0, 27), olive);
    // The square's high run lies on row 4.
    const CCPixel line = ctx->surface().pixelAt(60, 4);
    EXPECT_GE(line.red, 250);
    EXPECT_GE(line.green, 245);
    EXPECT_NEAR(line.blue, 208, 6);
    // Outside the frame nothing is drawn; the drawing leaves the clip as it was.
    EXPECT_EQ(ctx->surface().pixelAt(60, 12), (CCPixel{12, 15, 20, 255}));
    EXPECT_EQ(ctx->savedDepth(), 0u);
}

} // namespace
