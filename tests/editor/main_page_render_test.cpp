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

} // namespace
