#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "resources/resource_ids.h"
#include "resources/resources.h"
#include "toolkit/bitmap_registry.h"
#include "toolkit/controls/menu_selector.h"
#include "toolkit/controls/on_off_button.h"
#include "toolkit/controls/panel.h"
#include "toolkit/controls/pot_control.h"
#include "toolkit/controls/radio_button.h"
#include "toolkit/controls/simple_progress.h"
#include "toolkit/controls/simple_radio_button.h"
#include "toolkit/controls/text_ctrl.h"
#include "toolkit/draw_context.h"
#include "toolkit/font.h"

namespace {

class ControlArt : public ::testing::Test {
protected:
    void SetUp() override { setProgramResources(&tovanProgramResources()); }
    void TearDown() override { setProgramResources(nullptr); }
    ToolkitSessionGuard session;
};

TEST_F(ControlArt, EveryControlImageHasItsSize) {
    const std::pair<int32_t, CCSize> images[] = {
        {resid::kCloseButton, {36, 14}},    {resid::kTopmostButton, {18, 14}},
        {resid::kMinimiseButton, {36, 14}}, {resid::kPotModeButton, {48, 16}},
        {resid::kModePedal, {40, 16}},      {resid::kModePitch, {40, 16}},
        {resid::kTabPreset, {144, 20}},     {resid::kTabSetlist, {144, 20}},
        {resid::kTabMidi, {144, 20}},       {resid::kTabSettings, {144, 20}},
        {resid::kTabLibrary, {144, 20}},    {resid::kViewSweep, {48, 16}},
        {resid::kViewVowel, {48, 16}},      {resid::kBottomSelector, {180, 16}},
        {resid::kFieldWell, {176, 16}},     {resid::kSelectorWell, {90, 16}},
        {resid::kProgressTrack, {200, 8}},  {resid::kProgressFill, {200, 8}},
        {resid::kBusyPanel, {200, 48}},
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
    close.setValue(1, Notify::no, Redraw::no, SelfOnly::yes);
    const CCPixel on = render(close, {9, 0});
    EXPECT_GT(on.red, on.blue + 100) << "the lit frame's frame line is amber";
    EXPECT_NE(off, on);

    // A single bitmap is tinted: amber-ish when on, dimmer when off.
    CCOnOffButton pin(178, 0, 0, 18, 14, resid::kTopmostButton, kButtonToggle);
    const CCPixel dim = render(pin, {9, 10});
    pin.setValue(1, Notify::no, Redraw::no, SelfOnly::yes);
    const CCPixel lit = render(pin, {9, 10});
    EXPECT_GT(lit.red, dim.red);
    EXPECT_LT(lit.blue, lit.red / 2);
}

TEST_F(ControlArt, ProgressFillIsCutToTheValue) {
    auto ctx = CCDrawContext::createOffscreen(200, 8);
    CCSimpleProgress bar(kTagNone, 0, 0, 200, 8, resid::kProgressTrack, resid::kProgressFill, 4);
    bar.setValue(1, Notify::no, Redraw::no, SelfOnly::yes);
    bar.draw(*ctx);
    EXPECT_GT(ctx->surface().pixelAt(30, 4).red, 200);
    EXPECT_LT(ctx->surface().pixelAt(60, 4).red, 100) << "past a quarter only the track shows";
}

} // namespace

namespace {

// Draws one of each control on the page body and keeps the picture, so the
// controls can be looked at; checks that the texts and frames landed.
TEST_F(ControlArt, ContactSheetOfControls) {
    CCPageManager manager(CCRect{0, 0, 320, 120}, nullptr, false);
    auto ctx = CCDrawContext::createOffscreen(320, 120);
    manager.attachWindow(nullptr, ctx.get(), nullptr);
    CCPanel* panel = manager.addChild(std::make_unique<CCPanel>(kTagNone, 0, 0, 320, 120));
    panel->setFill({34, 27, 22, 255});
    CCFontInterface* text = getFont();
    auto* knob =
        panel->addChild(std::make_unique<CCPotControl>(9, 10, 10, 42, 44, 0, 100, resid::kKnobStrip, 70));
    auto* value = panel->addChild(std::make_unique<CCTextCtrl>(kTagNone, 11, 40, 43, 52));
    value->setFont(text);
    knob->setLinkedText(value);
    auto* tabs = panel->addChild(std::make_unique<CCSimpleRadioButton>(181, 60, 8, 310, 28));
    const int32_t tabIds[] = {resid::kTabPreset, resid::kTabSetlist, resid::kTabMidi, resid::kTabSettings};
    for (int32_t i = 0; i < 4; ++i)
        tabs->addPosition(62 * i, 0, tabIds[i]);
    tabs->setValue(1, Notify::no, Redraw::no, SelfOnly::yes);
    auto* selector =
        panel->addChild(std::make_unique<CCMenuSelector>(18, 60, 40, 150, 56, resid::kSelectorWell));
    selector->setFont(text);
    selector->addItem("Band");
    auto* field = panel->addChild(std::make_unique<CCTextCtrl>(17, 160, 40, 300, 56, resid::kFieldWell));
    field->setFont(text);
    field->setText("1250 Hz");
    auto* mode = panel->addChild(std::make_unique<CCRadioButton>(20, 60, 70, 230, 86));
    const int32_t modeIds[] = {resid::kModePedal, resid::kModeLfo, resid::kModeEnvelope, resid::kModePitch};
    for (int32_t i = 0; i < 4; ++i)
        mode->addMember(std::make_unique<CCOnOffButton>(kTagNone, 42 * i, 0, 42 * i + 40, 16, modeIds[i],
                                                        kButtonSetOnly));
    mode->setValue(1, Notify::no, Redraw::no, SelfOnly::yes);
    auto* power =
        panel->addChild(std::make_unique<CCOnOffButton>(34, 250, 72, 274, 84, resid::kSwitchButton));
    power->setValue(1, Notify::no, Redraw::no, SelfOnly::yes);
    auto* bar = panel->addChild(std::make_unique<CCSimpleProgress>(
        kTagNone, 60, 100, 260, 108, resid::kProgressTrack, resid::kProgressFill, 3));
    bar->setValue(2, Notify::no, Redraw::no, SelfOnly::yes);

    manager.redraw(*ctx, nullptr);
    EXPECT_TRUE(ctx->writePng(std::string(TOVAN_TEST_OUTPUT_DIR) + "/controls_contact_sheet.png"));
    EXPECT_EQ(value->getShownText(), "70");
    // Some cream text pixel inside the field, none in its empty right end.
    bool textDrawn = false;
    for (int32_t x = 162; x < 230 && !textDrawn; ++x)
        for (int32_t y = 42; y < 54 && !textDrawn; ++y)
            textDrawn = ctx->surface().pixelAt(x, y).red > 200;
    EXPECT_TRUE(textDrawn);
    EXPECT_LT(ctx->surface().pixelAt(290, 48).red, 120);
}

} // namespace
