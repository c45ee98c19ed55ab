#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "resources/resource_ids.h"
#include "resources/resources.h"
#include "toolkit/bitmap_registry.h"
#include "toolkit/controls/on_off_button.h"
#include "toolkit/controls/simple_progress.h"
#include "toolkit/controls/simple_radio_button.h"
#include "toolkit/draw_context.h"

namespace {

class ControlArt : public ::testing::Test {
protected:
    void SetUp() override { setProgramResources(&tovanProgramResources()); }
    void TearDown() override { setProgramResources(nullptr); }
    ToolkitSessionGuard session;
};

TEST_F(ControlArt, EveryControlImageHasItsSize) {
    const std::pair<int32_t, CCSize> images[] = {
        {resid::kCloseButton, {36, 14}},     {resid::kTopmostButton, {18, 14}},
        {resid::kMinimiseButton, {36, 14}},  {resid::kPotModeButton, {48, 16}},
        {resid::kModePedal, {40, 16}},       {resid::kModePitch, {40, 16}},
        {resid::kTabPreset, {144, 20}},      {resid::kTabSetlist, {144, 20}},
        {resid::kTabMidi, {144, 20}},        {resid::kTabSettings, {144, 20}},
        {resid::kViewSweep, {48, 16}},       {resid::kViewVowel, {48, 16}},
        {resid::kBottomSelector, {180, 16}}, {resid::kFieldWell, {176, 16}},
        {resid::kSelectorWell, {90, 16}},    {resid::kProgressTrack, {200, 8}},
        {resid::kProgressFill, {200, 8}},    {resid::kBusyPanel, {200, 48}},
    };
    for (const auto& [id, size] : images)
        EXPECT_EQ(bitmapSize(id), size) << id;
}

TEST_F(ControlArt, ButtonShowsItsLitFrameAndTint) {
    auto render = [](CControl& c, CCPoint at) {
        auto ctx = CCDrawContext::createOffscreen(18, 14);
        c.draw(*ctx);
        return ctx->surface().pixelAt(at.x, at.y);
    };
    CCOnOffButton close(188, 0, 0, 18, 14, resid::kCloseButton, kButtonMomentary, nullptr, 0, 2);
    CCButtonTints none;
    none.off = none.on = {};
    close.setTints(none);
    const CCPixel off = render(close, {9, 0});
    close.setValue(1, false, false, true);
    const CCPixel on = render(close, {9, 0});
    EXPECT_GT(on.red, on.blue + 100) << "the lit frame's frame line is amber";
    EXPECT_NE(off, on);

    // A single bitmap is tinted: amber-ish when on, dimmer when off.
    CCOnOffButton pin(178, 0, 0, 18, 14, resid::kTopmostButton, kButtonToggle);
    const CCPixel dim = render(pin, {9, 10});
    pin.setValue(1, false, false, true);
    const CCPixel lit = render(pin, {9, 10});
    EXPECT_GT(lit.red, dim.red);
    EXPECT_LT(lit.blue, lit.red / 2);
}

TEST_F(ControlArt, ProgressFillIsCutToTheValue) {
    auto ctx = CCDrawContext::createOffscreen(200, 8);
    CCSimpleProgress bar(kTagNone, 0, 0, 200, 8, resid::kProgressTrack, resid::kProgressFill, 4);
    bar.setValue(1, false, false, true);
    bar.draw(*ctx);
    EXPECT_GT(ctx->surface().pixelAt(30, 4).red, 200);
    EXPECT_LT(ctx->surface().pixelAt(60, 4).red, 100) << "past a quarter only the track shows";
}

} // namespace
