#include "editor_test_support.h"

#include "resources/resource_ids.h"
#include "toolkit/bitmap_registry.h"
#include "toolkit/draw_context.h"

#include <cmath>
#include <limits>

namespace {

using Ctrl = CTovanFilterCtrl;

TEST(FilterCurve, TablesRunFromZeroToFullForEveryCode) {
    for (int32_t code : {0, -1, 1, -17, 17, -8, 9}) {
        const Ctrl::CurveTable t = Ctrl::buildCurveTable(code);
        EXPECT_EQ(t[0], 0) << code;
        EXPECT_EQ(t[128], 65535) << code;
        for (int i = 1; i <= 128; ++i)
            ASSERT_GE(t[i], t[i - 1]) << "code " << code << " entry " << i;
    }
    // Codes beyond the steepest curves build the steepest ones.
    EXPECT_EQ(Ctrl::buildCurveTable(40), Ctrl::buildCurveTable(17));
    EXPECT_EQ(Ctrl::buildCurveTable(-100), Ctrl::buildCurveTable(-17));
}

TEST(FilterCurve, KnownEntriesOfTheLineTheSquareAverageAndTheSteepest) {
    const Ctrl::CurveTable linear = Ctrl::buildCurveTable(0);
    for (int i = 0; i < 128; ++i)
        ASSERT_EQ(linear[i], 512 * i) << i;
    // Code -1 averages the line and the square; code 1 is its mirror image.
    const Ctrl::CurveTable slow = Ctrl::buildCurveTable(-1), fast = Ctrl::buildCurveTable(1);
    EXPECT_EQ(slow[1], 258);
    EXPECT_EQ(slow[64], 24576);
    EXPECT_EQ(slow[127], 64770);
    for (int i = 1; i < 128; ++i)
        ASSERT_EQ(fast[128 - i], 65535 - slow[i]) << i;
    // Exponents 9 and 10: 127 to the tenth power does not fit 64 bits.
    const Ctrl::CurveTable steep = Ctrl::buildCurveTable(-17);
    EXPECT_EQ(steep[1], 1); // rounds to 0, which is kept above the start
    EXPECT_EQ(steep[100], 6328);
    EXPECT_EQ(steep[127], 60831);
    EXPECT_EQ(Ctrl::buildCurveTable(17)[1], 4704);
}

class FilterValues : public EditorTest {};

TEST_F(FilterValues, ValuesMapToPixelsInBothViewsAndStayInThePlot) {
    auto d = makeDisplay();
    EXPECT_EQ(d->sweepPixel(10, 0), (CCPoint{21, 161}));
    EXPECT_EQ(d->sweepPixel(2005, 50), (CCPoint{21 + 268, 161 - 72}));
    EXPECT_EQ(d->sweepPixel(5000, 200), (CCPoint{558, 16}));
    EXPECT_EQ(d->sweepPixel(std::numeric_limits<float>::infinity(), 0), (CCPoint{558, 161}));

    // Clear orientation: filter 2 across, filter 1 up; set swaps them.
    EXPECT_EQ(d->vowelPixel(605, 1605, false), (CCPoint{21 + 268, 161 - 72}));
    EXPECT_EQ(d->vowelPixel(1605, 605, true), (CCPoint{21 + 268, 161 - 72}));
    EXPECT_EQ(d->vowelPixel(2000, 100, false), (CCPoint{21 + 15, 16}));
    EXPECT_EQ(d->vowelPixel(10, 10, true), (CCPoint{21, 161}));
}

TEST_F(FilterValues, SetPointClampsAndTakesPartialTargets) {
    auto d = makeDisplay();
    EXPECT_TRUE(d->setPoint(1, 5, 150));
    EXPECT_EQ(d->getPoint(1), (CCValuePair{10, 100}));
    EXPECT_TRUE(d->setPoint(4, 5000, -3));
    EXPECT_EQ(d->getPoint(4), (CCValuePair{4000, 0}));

    // Frequency only keeps the height, height only keeps the frequency.
    EXPECT_TRUE(d->setPoint(8, 700, 99));
    EXPECT_EQ(d->getPoint(7), (CCValuePair{700, 0}));
    EXPECT_TRUE(d->setPoint(9, 12345, 40));
    EXPECT_EQ(d->getPoint(7), (CCValuePair{700, 40}));

    // The same value again is no change, unless forced.
    EXPECT_FALSE(d->setPoint(8, 700, 0));
    EXPECT_FALSE(d->setPoint(1, 2, 120)); // clamps to what is stored
    EXPECT_TRUE(d->setPoint(8, 700, 0, true));
    EXPECT_FALSE(d->setPoint(0, 100, 10));
    EXPECT_FALSE(d->setPoint(17, 100, 10));
    EXPECT_EQ(d->getPoint(2), (CCValuePair{})); // not a handle

    // Not a number counts as the low end instead of poisoning the pixels.
    EXPECT_TRUE(d->setPoint(10, std::nanf(""), std::nanf("")));
    EXPECT_EQ(d->getPoint(10), (CCValuePair{10, 0}));
}

TEST_F(FilterValues, MarkersHideBelowTenHertzAndNeverRecompose) {
    auto d = makeDisplay();
    d->setShown({.filter1 = true, .filter2 = true});
    CCBitmap surface;
    surface.createSection(640, 300);
    CCDrawContext ctx(surface);
    d->draw(ctx);
    ASSERT_FALSE(d->isImageDirty());

    EXPECT_TRUE(d->setPoint(13, 5, 50));
    EXPECT_FALSE(d->isImageDirty());
    EXPECT_FALSE(d->setPoint(13, 9.5f, 50)); // still hidden: stored as 0
    EXPECT_TRUE(d->setLivePositions(0, 50, 2005, 50));
    EXPECT_FALSE(d->setLivePositions(0, 50, 2005, 50));
    const CCSize m = bitmapSize(resid::kMarker2);
    EXPECT_EQ(d->getMarkerPosition(1), (CCPoint{10 + 289 - (m.width + 1) / 2, 78 + 89 - (m.height + 1) / 2}));
    EXPECT_TRUE(d->setPoint(14, 5000, 150));
    EXPECT_EQ(d->getMarkerPosition(1), (CCPoint{10 + 558 - (m.width + 1) / 2, 78 + 16 - (m.height + 1) / 2}));
    EXPECT_FALSE(d->isImageDirty());
    EXPECT_FALSE(d->takeChanged());
}

TEST_F(FilterValues, SweepHandlesAndVowelPointsStayInStep) {
    auto d = makeDisplay();
    d->setPoint(1, 500, 20);
    d->setPoint(7, 1500, 30);
    d->setPoint(4, 800, 70);
    d->setPoint(10, 2400, 90);
    EXPECT_EQ(d->getPoint(15), (CCValuePair{500, 1500}));
    EXPECT_EQ(d->getPoint(16), (CCValuePair{800, 2400}));

    // A vowel point writes both filters' frequencies at its end; heights stay.
    EXPECT_TRUE(d->setPoint(16, 700, 2100));
    EXPECT_EQ(d->getPoint(4), (CCValuePair{700, 70}));
    EXPECT_EQ(d->getPoint(10), (CCValuePair{2100, 90}));
    EXPECT_EQ(d->getPoint(1), (CCValuePair{500, 20}));

    // Clear orientation: filter 1 is the lower formant, up to 1200 Hz; set, it
    // is the upper one, and filter 2 stops at 1200 Hz instead.
    EXPECT_TRUE(d->setPoint(15, 2000, 3500));
    EXPECT_EQ(d->getPoint(15), (CCValuePair{1200, 3200}));
    d->setOrientation(0, true);
    EXPECT_TRUE(d->setPoint(15, 2000, 3500));
    EXPECT_EQ(d->getPoint(15), (CCValuePair{2000, 1200}));
    EXPECT_EQ(d->getPoint(7).first, 1200);
}

TEST_F(FilterValues, ViewSwitchClearsEveryPoint) {
    auto d = makeDisplay();
    d->setShown({.filter1 = true, .filter2 = true});
    d->setPoint(1, 500, 20);
    d->setPoint(13, 600, 20);
    d->setViewMode(5); // ignored
    d->setViewMode(0); // unchanged
    EXPECT_EQ(d->getPoint(1), (CCValuePair{500, 20}));
    d->setViewMode(1);
    EXPECT_EQ(d->getViewMode(), 1);
    EXPECT_TRUE(d->isImageDirty());
    for (int32_t id : {1, 4, 7, 10, 15, 16})
        EXPECT_EQ(d->getPoint(id), (CCValuePair{})) << id;
    // The sweep handles are no longer hit candidates.
    EXPECT_EQ(d->getHitRect(2), CCRect{});
}

TEST_F(FilterValues, VowelOrientationFollowsTheNearestReferenceVowel) {
    auto d = makeDisplay();
    d->setPoint(1, 2700, 0);
    d->setPoint(7, 300, 0);
    d->updateVowelOrientation(); // sweep chart: nothing happens
    EXPECT_FALSE(d->getOrientation(0));

    d->setViewMode(1);
    struct Case {
        float heel1, heel2, toe1, toe2;
        bool heelFlag, toeFlag;
    };
    const Case cases[] = {
        // "i" either way round
        {.heel1 = 300, .heel2 = 2700, .toe1 = 2700, .toe2 = 300, .heelFlag = false, .toeFlag = true},
        // (800, 1200) reached by the swap
        {.heel1 = 1200, .heel2 = 800, .toe1 = 800, .toe2 = 1200, .heelFlag = true, .toeFlag = false},
        // a tie keeps the first distance: no swap
        {.heel1 = 700, .heel2 = 700, .toe1 = 2000, .toe2 = 2000, .heelFlag = false, .toeFlag = false},
        {.heel1 = 350, .heel2 = 820, .toe1 = 2300, .toe2 = 610, .heelFlag = false, .toeFlag = true},
    };
    for (const Case& c : cases) {
        d->setPoint(2, c.heel1, 0);
        d->setPoint(8, c.heel2, 0);
        d->setPoint(5, c.toe1, 0);
        d->setPoint(11, c.toe2, 0);
        d->updateVowelOrientation();
        EXPECT_EQ(d->getOrientation(0), c.heelFlag) << c.heel1 << " " << c.heel2;
        EXPECT_EQ(d->getOrientation(1), c.toeFlag) << c.toe1 << " " << c.toe2;
        // The values stay; only the axes they are drawn on change.
        EXPECT_EQ(d->getPoint(15), (CCValuePair{c.heel1, c.heel2}));
    }
    // With the toe flag set the toe point sits at (filter 1 across, filter 2 up).
    const CCSize h = bitmapSize(resid::kHandle2Toe);
    CCPoint toe = d->vowelPixel(2300, 610, true);
    EXPECT_EQ(d->getHitRect(1),
              CCRect::fromSize({10 + toe.x - (h.width + 1) / 2, 78 + toe.y - (h.height + 1) / 2}, h.width,
                               h.height));
}

TEST_F(FilterValues, PathDotsFollowTheCurve) {
    auto d = makeDisplay();
    const int32_t spacing = (bitmapSize(resid::kPathDot1).width + 1) / 2;
    d->setPoint(1, 10, 50);
    d->setPoint(4, 2005, 50); // 268 pixels to the right
    std::vector<Ctrl::PathDot> dots = d->pathDots(0);
    ASSERT_EQ(int32_t(dots.size()), 2 * 268 / spacing);
    EXPECT_EQ(dots.front().centre, (CCPoint{21, 89}));
    for (const Ctrl::PathDot& dot : dots)
        ASSERT_EQ(dot.alpha, 48);

    // Slow start: faint where the filter hardly moves, bright where it races.
    d->setCurve(0, -1);
    dots = d->pathDots(0);
    EXPECT_EQ(dots.front().alpha, 16);
    EXPECT_EQ(dots.back().alpha, 79);
    d->setCurve(0, -17);
    dots = d->pathDots(0);
    EXPECT_EQ(dots.front().alpha, 16);
    EXPECT_EQ(dots.back().alpha, 96);
    d->setCurve(0, 17);
    dots = d->pathDots(0);
    EXPECT_EQ(dots.front().alpha, 96);
    EXPECT_EQ(dots.back().alpha, 16);

    // Heel and toe on one pixel: no path at all.
    d->setPoint(4, 10, 50);
    EXPECT_TRUE(d->pathDots(0).empty());
    d->setPoint(4, 15, 50.5f); // different values, still the same pixel
    EXPECT_TRUE(d->pathDots(0).empty());
}

TEST_F(FilterValues, HitTestTakesTheNearestCentreAndTheEarlierOnATie) {
    auto d = makeDisplay({0, 0});
    d->setShown({.filter1 = true, .filter2 = true});
    d->setPoint(4, 1000, 50);  // x 154
    d->setPoint(10, 1050, 50); // x 160
    const CCRect a = d->getHitRect(1), b = d->getHitRect(3);
    ASSERT_EQ(b.left - a.left, 6);
    const int32_t y = centre(a).y;
    EXPECT_EQ(d->handleAt({a.left, y}), 4);
    EXPECT_EQ(d->handleAt({centre(a).x + 2, y}), 4);
    EXPECT_EQ(d->handleAt({centre(b).x - 2, y}), 10);
    EXPECT_EQ(d->handleAt({b.right - 1, y}), 10);
    EXPECT_EQ(d->handleAt({b.right, y}), 0); // right edge is outside

    // Identical rectangles: the earlier candidate.
    d->setPoint(1, 3000, 20);
    d->setPoint(7, 3000, 20);
    EXPECT_EQ(d->handleAt(centre(d->getHitRect(0))), 1);
    d->setShown({.filter1 = false, .filter2 = true});
    EXPECT_EQ(d->handleAt(centre(d->getHitRect(0))), 7);
    EXPECT_FALSE(d->hitTest({d->getHitRect(1).left, centre(d->getHitRect(1)).y}));
    EXPECT_EQ(d->cursorAt(centre(d->getHitRect(3)).x, centre(d->getHitRect(3)).y), 302);
    EXPECT_EQ(d->cursorAt(1, 1), 0);

    // The vowel chart offers its two points only while both filters are shown.
    d->setViewMode(1);
    d->setPoint(2, 500, 0);
    d->setPoint(8, 1500, 0);
    const CCPoint heel = centre(d->getHitRect(0));
    EXPECT_EQ(d->handleAt(heel), 0);
    d->setShown({.filter1 = true, .filter2 = true});
    EXPECT_EQ(d->handleAt(heel), 15);
}

TEST_F(FilterValues, HitRectanglesFollowTheControlIntoThePage) {
    CCPageObject page(0, 0, 640, 650);
    auto owned = makeDisplay({10, 78});
    owned->setShown({.filter1 = true, .filter2 = false});
    owned->setPoint(1, 2005, 50);
    const CCSize h = bitmapSize(resid::kHandle1Heel);
    auto expected = [&](CCPoint origin) {
        return CCRect::fromSize({origin.x + 289 - (h.width + 1) / 2, origin.y + 89 - (h.height + 1) / 2},
                                h.width, h.height);
    };
    CTovanFilterCtrl* d = page.addChild(std::move(owned));
    EXPECT_EQ(d->getHitRect(0), expected({10, 78}));
    page.moveBy(3, 4);
    EXPECT_EQ(d->getHitRect(0), expected({13, 82}));
}

} // namespace
