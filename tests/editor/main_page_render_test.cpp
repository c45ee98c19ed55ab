// The main page drawn as the player sees it, kept as pictures to look at, with
// a few pixels checked.
#include "editor/editor_tags.h"
#include "editor/lfo_waveform.h"
#include "editor/tovan_filter_ctrl.h"
#include "main_page_support.h"
#include "model/pedal_parameters.h"

namespace {

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
    turn(etag::kViewSwitch, CTovanFilterCtrl::kVowelChart);
    render();
    EXPECT_TRUE(context->writePng(artefact("main_page_vowel.png")));
}

TEST_F(MainPageTest, RendersEachModeOfFilterOne) {
    const char* names[] = {"pedal", "lfo", "envelope", "pitch"};
    for (int32_t mode = 0; mode < 4; ++mode) {
        turn(ptag::kControlMode, mode);
        render();
        const CCRect panel = layout::filterPanelRect(0).offset(20, 44);
        auto crop = CCDrawContext::createOffscreen(panel.width(), panel.height());
        crop->blit(*context, panel, {0, 0});
        EXPECT_TRUE(crop->writePng(artefact(std::string("filter1_") + names[mode] + ".png")));
    }
}

TEST_F(MainPageTest, RendersTheOtherTabs) {
    turn(kActiveSetlist, 1); // the demo setlist, so the slots show presets
    const char* names[] = {"setlist", "midi", "settings"};
    for (int32_t tab = 1; tab <= 3; ++tab) {
        turn(etag::kTabSelector, tab);
        render();
        EXPECT_TRUE(context->writePng(artefact(std::string("main_page_") + names[tab - 1] + ".png")));
        // The tab's own body covers the preset tab's frames: no filter panel
        // frame line where filter 1's panel would be.
        const CCPixel p = context->surface().pixelAt(25, 450);
        EXPECT_LT(p.green, 100) << names[tab - 1];
    }
}

// Backup and restore keep the loop busy: what the showing draws at once is all
// the player sees until the first preset has moved, so it is the whole box.
TEST_F(MainPageTest, TheProgressBoxIsDrawnWholeWhenShown) {
    render();
    page->showProgress(true);
    const CCRect box{220, 300, 420, 348};
    std::vector<CCPixel> shown;
    for (int32_t y = box.top; y < box.bottom; ++y)
        for (int32_t x = box.left; x < box.right; ++x)
            shown.push_back(context->surface().pixelAt(x, y));
    render();
    size_t differing = 0;
    for (int32_t y = box.top, k = 0; y < box.bottom; ++y)
        for (int32_t x = box.left; x < box.right; ++x, ++k)
            if (!(shown[static_cast<size_t>(k)] == context->surface().pixelAt(x, y))) ++differing;
    EXPECT_EQ(differing, 0u) << "the caption or the bar came only with a later redraw";
    EXPECT_TRUE(context->writePng(artefact("main_page_progress.png")));
    page->showProgress(false);
}

} // namespace
