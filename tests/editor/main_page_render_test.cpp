// The main page drawn as the player sees it, kept as pictures to look at, with
// a few pixels checked.
#include "editor/editor_tags.h"
#include "editor/lfo_waveform.h"
#include "editor/tovan_filter_ctrl.h"
#include "main_page_support.h"
#include "model/pedal_parameters.h"

namespace {

bool isAmber(const CCPixel& c) {
    return c.red > 200 && c.green > 100 && c.blue < 90;
}
// Cream, as the page's captions and the big preset number.
bool isCream(const CCPixel& c) {
    return c.red > 190 && c.green > 178 && c.blue > 120;
}

size_t countIn(const CCBitmap& s, CCRect r, bool (*test)(const CCPixel&)) {
    size_t n = 0;
    for (int32_t y = r.top; y < r.bottom; ++y)
        for (int32_t x = r.left; x < r.right; ++x)
            if (test(s.pixelAt(x, y))) ++n;
    return n;
}

std::vector<CCPixel> pixelsOf(const CCBitmap& s, CCRect r) {
    std::vector<CCPixel> out;
    for (int32_t y = r.top; y < r.bottom; ++y)
        for (int32_t x = r.left; x < r.right; ++x)
            out.push_back(s.pixelAt(x, y));
    return out;
}

size_t differing(const std::vector<CCPixel>& a, const std::vector<CCPixel>& b) {
    size_t n = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (!(a[i] == b[i])) ++n;
    return n;
}

// The four tab labels across the top of the page.
constexpr CCRect kTabs[] = {{15, 19, 87, 39}, {89, 19, 161, 39}, {163, 19, 235, 39}, {237, 19, 309, 39}};
// Below the tabs, where each tab draws its own body.
constexpr CCRect kBody{20, 50, 620, 590};

TEST_F(MainPageTest, RendersThePresetTabInBothCharts) {
    turn(ptag::kFilterBalance, 50); // both filters in the charts
    render();
    EXPECT_TRUE(context->writePng(artefact("main_page_sweep.png")));
    const CCBitmap& s = context->surface();
    EXPECT_EQ(s.pixelAt(0, 0), (CCPixel{255, 0, 255, 255})) << "outside the outline is magenta";
    EXPECT_EQ(s.pixelAt(639, 649), (CCPixel{255, 0, 255, 255}));
    EXPECT_NE(s.pixelAt(320, 2), (CCPixel{255, 0, 255, 255})) << "the body reaches the top edge";
    // The chosen tab and mode are lit amber, the others are not.
    auto amber = [&](CCPoint p) {
        const CCPixel c = s.pixelAt(p.x, p.y);
        return c.red > 200 && c.green > 100 && c.blue < 90;
    };
    auto anyAmber = [&](CCRect r) {
        for (int32_t y = r.top; y < r.bottom; ++y)
            for (int32_t x = r.left; x < r.right; ++x)
                if (amber({x, y})) return true;
        return false;
    };
    EXPECT_TRUE(anyAmber({15, 19, 87, 39})) << "PRESET tab";
    EXPECT_FALSE(anyAmber({89, 19, 161, 39})) << "SETLIST tab";
    EXPECT_TRUE(anyAmber({87, 405, 127, 421})) << "filter 1 PEDAL mode";
    EXPECT_FALSE(anyAmber({131, 405, 171, 421})) << "filter 1 LFO mode";
    // The big preset number is drawn in cream.
    bool cream = false;
    for (int32_t x = 50; x < 130 && !cream; ++x)
        cream = s.pixelAt(x, 91).red > 240 && s.pixelAt(x, 91).blue > 170;
    EXPECT_TRUE(cream);
    const std::vector<CCPixel> sweep = pixelsOf(s, kBody);
    turn(etag::kViewSwitch, CTovanFilterCtrl::kVowelChart);
    render();
    EXPECT_TRUE(context->writePng(artefact("main_page_vowel.png")));
    EXPECT_GT(differing(sweep, pixelsOf(context->surface(), kBody)), 2000u) << "the vowel chart did not show";
}

TEST_F(MainPageTest, RendersEachModeOfFilterOne) {
    const char* names[] = {"pedal", "lfo", "envelope", "pitch"};
    std::vector<std::vector<CCPixel>> panels;
    for (int32_t mode = 0; mode < 4; ++mode) {
        turn(ptag::kControlMode, mode);
        render();
        const CCRect panel = layout::filterPanelRect(0).offset(20, 44);
        auto crop = CCDrawContext::createOffscreen(panel.width(), panel.height());
        crop->blit(*context, panel, {0, 0});
        EXPECT_TRUE(crop->writePng(artefact(std::string("filter1_") + names[mode] + ".png")));
        panels.push_back(pixelsOf(context->surface(), panel));
    }
    // Each mode shows a panel of its own.
    for (size_t a = 0; a < panels.size(); ++a)
        for (size_t b = a + 1; b < panels.size(); ++b)
            EXPECT_GT(differing(panels[a], panels[b]), 500u) << names[a] << " and " << names[b];
}

TEST_F(MainPageTest, RendersTheOtherTabs) {
    turn(kActiveSetlist, 1); // the demo setlist, so the slots show presets
    render();
    std::vector<std::vector<CCPixel>> bodies{pixelsOf(context->surface(), kBody)};
    const char* names[] = {"setlist", "midi", "settings"};
    for (int32_t tab = 1; tab <= 3; ++tab) {
        turn(etag::kTabSelector, tab);
        render();
        const char* name = names[tab - 1];
        EXPECT_TRUE(context->writePng(artefact(std::string("main_page_") + name + ".png")));
        // Its label is lit, no other.
        for (int32_t other = 0; other < 4; ++other)
            EXPECT_EQ(countIn(context->surface(), kTabs[other], isAmber) > 0, other == tab)
                << name << ": tab " << other;
        // Its own body covers the preset tab's, and differs from every other tab's.
        const std::vector<CCPixel> body = pixelsOf(context->surface(), kBody);
        for (size_t k = 0; k < bodies.size(); ++k)
            EXPECT_GT(differing(body, bodies[k]), body.size() / 20) << name << " against tab " << k;
        bodies.push_back(body);
    }
}

// Backup and restore keep the loop busy: what the showing draws at once is all
// the player sees until the first preset has moved, so it is the whole box.
TEST_F(MainPageTest, TheProgressBoxIsDrawnWholeWhenShown) {
    render();
    const CCRect box{220, 300, 420, 348};
    const std::vector<CCPixel> before = pixelsOf(context->surface(), box);
    page->showProgress(true);
    const std::vector<CCPixel> shown = pixelsOf(context->surface(), box);
    // The box itself, with its caption in cream, came with the showing.
    EXPECT_GT(differing(before, shown), shown.size() / 2) << "showing drew no box";
    const CCRect caption{230, 302, 410, 318};
    EXPECT_GT(countIn(context->surface(), caption, isCream), 20u) << "showing drew no caption";
    render();
    EXPECT_EQ(differing(shown, pixelsOf(context->surface(), box)), 0u)
        << "the caption or the bar came only with a later redraw";
    EXPECT_TRUE(context->writePng(artefact("main_page_progress.png")));
    page->showProgress(false);
}

} // namespace
