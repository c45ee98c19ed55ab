#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "resources/resource_ids.h"
#include "resources/resources.h"
#include "toolkit/bitmap_registry.h"
#include "toolkit/controls/bargraph.h"
#include "toolkit/controls/button_menu.h"
#include "toolkit/controls/click_slider.h"
#include "toolkit/controls/curved_slider.h"
#include "toolkit/controls/fine_pot_control.h"
#include "toolkit/controls/flashing_on_off_button.h"
#include "toolkit/controls/halvorn_filter_freq_meter.h"
#include "toolkit/controls/halvorn_threshold_meter.h"
#include "toolkit/controls/horizontal_slider2.h"
#include "toolkit/controls/image_viewer.h"
#include "toolkit/controls/indicator.h"
#include "toolkit/controls/led_array.h"
#include "toolkit/controls/list_box.h"
#include "toolkit/controls/menu_selector.h"
#include "toolkit/controls/menu_selector_ex.h"
#include "toolkit/controls/meter_drawing.h"
#include "toolkit/controls/meter_with_clip.h"
#include "toolkit/controls/mod_wheel.h"
#include "toolkit/controls/multi_line_text_ctrl.h"
#include "toolkit/controls/on_off_button.h"
#include "toolkit/controls/panel.h"
#include "toolkit/controls/pulse_button.h"
#include "toolkit/controls/radio_button.h"
#include "toolkit/controls/reverse_meter.h"
#include "toolkit/controls/rotary_encoder.h"
#include "toolkit/controls/scroller.h"
#include "toolkit/controls/scrolling_panel.h"
#include "toolkit/controls/simple_button.h"
#include "toolkit/controls/simple_progress.h"
#include "toolkit/controls/simple_radio_button.h"
#include "toolkit/controls/spinner.h"
#include "toolkit/controls/splash_screen.h"
#include "toolkit/controls/static_text_ctrl.h"
#include "toolkit/controls/switch.h"
#include "toolkit/controls/text_button.h"
#include "toolkit/controls/text_ctrl.h"
#include "toolkit/controls/three_led_meter.h"
#include "toolkit/controls/version.h"
#include "toolkit/controls/version_simple.h"
#include "toolkit/draw_context.h"
#include "toolkit/font.h"
#include "toolkit/version_text.h"

namespace {

class ControlTableArt : public ::testing::Test {
protected:
    void SetUp() override { setProgramResources(&tovanProgramResources()); }
    void TearDown() override { setProgramResources(nullptr); }
    ToolkitSessionGuard session;
};

TEST_F(ControlTableArt, EveryImageHasTheSizeItsControlExpects) {
    const std::pair<int32_t, CCSize> images[] = {
        {resid::kEncoderStrip, {72 * 32, 34}},  {resid::kSpinnerStrip, {16 * 24, 24}},
        {resid::kModWheelStrip, {32 * 20, 60}}, {resid::kSliderTrack, {24, 100}},
        {resid::kSliderHandle, {20, 10}},       {resid::kHSliderTrack, {100, 16}},
        {resid::kHSliderHandle, {10, 14}},      {resid::kCurvedTrack, {120, 30}},
        {resid::kCurvedHandle, {12, 12}},       {resid::kFlashButton, {72, 16}},
        {resid::kPulseButton, {64, 16}},        {resid::kButtonMenuStrip, {120, 16}},
        {resid::kSwitchStrip, {48, 36}},        {resid::kBargraphStrip, {704, 8}},
        {resid::kLedStrip, {20, 10}},           {resid::kMeterTrack, {12, 80}},
        {resid::kMeterFill, {12, 80}},          {resid::kClipLamp, {20, 10}},
        {resid::kThreeLedStrip, {48, 36}},      {resid::kThresholdScale, {120, 16}},
        {resid::kFrequencyScale, {160, 20}},    {resid::kLogoPicture, {64, 40}},
        {resid::kSplashPanel, {240, 120}},      {resid::kScrollTrack, {10, 100}},
        {resid::kScrollThumb, {10, 20}},        {resid::kHMeterTrack, {100, 10}},
        {resid::kHMeterFill, {100, 10}},        {resid::kReverseMeterFill, {12, 80}},
        {resid::kHReverseMeterFill, {100, 10}},
    };
    for (const auto& [id, size] : images)
        EXPECT_EQ(bitmapSize(id), size) << id;
    // Strips split into the frames their controls count on.
    const std::pair<int32_t, int32_t> frames[] = {
        {resid::kEncoderStrip, 32}, {resid::kSpinnerStrip, 24}, {resid::kModWheelStrip, 20}};
    for (const auto& [id, width] : frames) {
        CCImageStrip* s = acquireStrip(id, width);
        ASSERT_NE(s, nullptr) << id;
        EXPECT_GE(s->getFrameCount(), 16) << id;
        releaseBitmap(s);
    }
}

// One of every control of the table on the page body, rendered headless and
// kept as test-artefacts/control_table_contact_sheet.png to be looked at.
TEST_F(ControlTableArt, ContactSheetOfEveryControl) {
    HandClock clock;
    CCPageManager manager(CCRect{0, 0, 640, 480}, nullptr, false);
    auto ctx = CCDrawContext::createOffscreen(640, 480);
    manager.attachWindow(nullptr, ctx.get(), nullptr);
    CCPanel* page = manager.addChild(std::make_unique<CCPanel>(kTagNone, 0, 0, 640, 480));
    page->setFill({34, 27, 22, 255});
    CCFontInterface* text = getFont();
    CCFontDescriptor smallFace;
    smallFace.size = 7;
    smallFace.colour = {118, 113, 91, 255};
    CCFontInterface* small = getFont(smallFace);
    auto label = [&](int32_t x, int32_t y, const char* name) {
        auto* l = page->addChild(
            std::make_unique<CCStaticTextCtrl>(kTagNone, x, y, x + 150, y + 10, name, 0, kAlignLeft));
        l->setFont(small);
    };
    auto add = [&](auto control, const char* name, int32_t labelY) {
        const CCRect b = control->getBounds();
        auto* raw = page->addChild(std::move(control));
        label(b.left, labelY, name);
        return raw;
    };

    // The knob family.
    add(std::make_unique<CCPotControl>(1, 10, 10, 42, 44, 0, 100, resid::kKnobStrip, 70), "Pot", 46);
    add(std::make_unique<CCFinePotControl>(2, 60, 10, 92, 44, 0, 1000, resid::kKnobStrip, 250), "FinePot",
        46);
    add(std::make_unique<CCRotaryEncoder>(3, 110, 10, 142, 44, resid::kEncoderStrip, 45), "Encoder", 46);
    add(std::make_unique<CCSpinner>(4, 160, 15, 184, 39, resid::kSpinnerStrip, 64, 7), "Spinner", 46);
    add(std::make_unique<CCModWheel>(5, 200, 10, 220, 70, 0, 127, resid::kModWheelStrip, 90), "ModWheel", 72);

    // Sliders.
    add(std::make_unique<CCSlider>(6, 240, 10, 264, 110, 0, 100, resid::kSliderTrack, resid::kSliderHandle,
                                   75),
        "Slider", 112);
    add(std::make_unique<CCClickSlider>(7, 280, 10, 304, 110, 0, 100, resid::kSliderTrack,
                                        resid::kSliderHandle, 30),
        "ClickSlider", 112);
    add(std::make_unique<CCHorizontalSlider>(8, 320, 10, 420, 26, 0, 100, resid::kHSliderTrack,
                                             resid::kHSliderHandle, 60),
        "HorizontalSlider", 27);
    add(std::make_unique<CCHorizontalSlider2>(9, 320, 40, 420, 54, 0, 100, 35), "HorizontalSlider2", 55);
    add(std::make_unique<CCCurvedSlider>(10, 320, 70, 440, 100, 0, 100, resid::kCurvedTrack,
                                         resid::kCurvedHandle, 12, 40),
        "CurvedSlider", 101);
    add(std::make_unique<CCSwitch>(11, 450, 10, 466, 46, resid::kSwitchStrip, 3, 1), "Switch", 48);

    // Meters.
    auto* meter = add(std::make_unique<CCMeter>(12, 490, 10, 502, 90, resid::kMeterTrack, resid::kMeterFill),
                      "Meter", 92);
    meter->setValue(60, Notify::no, Redraw::no, SelfOnly::yes);
    auto* reverse = add(
        std::make_unique<CCReverseMeter>(13, 530, 10, 542, 90, resid::kMeterTrack, resid::kReverseMeterFill),
        "Reverse", 102);
    reverse->setValue(35, Notify::no, Redraw::no, SelfOnly::yes);
    auto* clip = add(std::make_unique<CCMeterWithClip>(14, 570, 10, 582, 102, resid::kMeterTrack,
                                                       resid::kMeterFill, resid::kClipLamp),
                     "MeterWithClip", 104);
    clip->setValue(100, Notify::no, Redraw::no, SelfOnly::yes);
    clip->setValue(80, Notify::no, Redraw::no, SelfOnly::yes);
    auto* leds3 = add(std::make_unique<CC3LEDMeter>(15, 610, 10, 622, 46, resid::kThreeLedStrip), "3LED", 48);
    leds3->setValue(60, Notify::no, Redraw::no, SelfOnly::yes);

    // Second row: bars, lamps, buttons and the meters with marks.
    auto* bar =
        add(std::make_unique<CCBargraph>(16, 10, 130, 74, 138, resid::kBargraphStrip, 11), "Bargraph", 140);
    bar->setValue(70, Notify::no, Redraw::no, SelfOnly::yes);
    auto* ledRow =
        add(std::make_unique<CCLedArray>(17, 90, 130, 150, 140, resid::kLedStrip, 5, 12), "LedArray", 142);
    ledRow->setValue(60, Notify::no, Redraw::no, SelfOnly::yes);
    auto* hMeter =
        add(std::make_unique<CCMeter>(18, 170, 130, 270, 140, resid::kHMeterTrack, resid::kHMeterFill),
            "Meter (wide)", 142);
    hMeter->setValue(75, Notify::no, Redraw::no, SelfOnly::yes);
    auto* hReverse = add(std::make_unique<CCReverseMeter>(19, 290, 130, 390, 140, resid::kHMeterTrack,
                                                          resid::kHReverseMeterFill),
                         "ReverseMeter (wide)", 142);
    hReverse->setValue(40, Notify::no, Redraw::no, SelfOnly::yes);
    auto* threshold =
        add(std::make_unique<CHalvornThresholdCMeter>(20, 410, 128, 530, 144, resid::kThresholdScale),
            "ThresholdMeter", 146);
    CCMsg reading(kMsgMeterReading, 20, 72);
    threshold->onMessage(reading);
    auto* freq =
        add(std::make_unique<CHalvornFilterFreqMeter>(21, 410, 160, 570, 180, resid::kFrequencyScale),
            "FilterFreqMeter", 182);
    CCMsg live(kMsgMeterReading, 21, 2400);
    freq->onMessage(live);

    auto* flash = add(std::make_unique<CCFlashingOnOffButton>(22, 10, 160, 34, 176, resid::kFlashButton,
                                                              kButtonToggle, nullptr, 0, &clock),
                      "Flashing", 178);
    flash->setValue(1, Notify::no, Redraw::no, SelfOnly::yes);
    auto* pulse = add(std::make_unique<CCPulseButton>(23, 60, 160, 92, 176, resid::kPulseButton,
                                                      kButtonToggle, nullptr, 0, &clock),
                      "Pulse", 178);
    pulse->setValue(1, Notify::no, Redraw::no, SelfOnly::yes);
    // Three seconds on: the glow at its brightest, the flashing button lit again.
    clock.advance(5 * CCPulseButton::kPulseMs / 2);
    auto* menu = add(std::make_unique<CCButtonMenu>(24, 110, 160, 150, 176, resid::kButtonMenuStrip),
                     "ButtonMenu", 178);
    menu->addItem("Copy");
    add(std::make_unique<CCImageViewer>(25, 170, 152, 240, 192, resid::kLogoPicture), "ImageViewer", 194);
    auto* lines = add(std::make_unique<CCMultiLineTextCtrl>(
                          kTagNone, 250, 152, 416, 194,
                          "Several lines of text.\nThe second one is long enough to break between words."),
                      "MultiLineTextCtrl", 196);
    lines->setFont(text);
    auto* version = add(
        std::make_unique<CCVersion>(540, 130, 640, 144, versionWord(1, 5, 0, 3), VersionMarks{.beta = true}),
        "Version", 146);
    version->setFont(small);
    auto* versionSimple = add(std::make_unique<CCVersionSimple>(590, 160, 640, 174, versionWord(1, 5, 0, 0)),
                              "VersionSimple", 176);
    versionSimple->setFont(text);

    // Third row: a list, a scrolled panel with its scroller, and the splash.
    auto* list =
        add(std::make_unique<CCListBox>(26, 10, 215, 160, 305, resid::kScrollTrack, resid::kScrollThumb),
            "ListBox, ListBoxItem, TableRowContainer", 307);
    for (const char* name :
         {"Fat wah", "Quack", "Slow sweep", "Talk box", "Auto vowel", "Bass funk", "Shimmer"})
        list->addItem(name);
    list->setRowFont(text);
    list->setValue(2, Notify::no, Redraw::yes, SelfOnly::no);
    auto* scrolled = add(std::make_unique<CCScrollingPanel>(27, 180, 215, 290, 305), "ScrollingPanel", 307);
    scrolled->setFill({20, 15, 12, 255});
    for (int32_t i = 0; i < 4; ++i) {
        auto* knob = scrolled->addChild(
            std::make_unique<CCPotControl>(40 + i, 8 + (i % 2) * 50, 6 + (i / 2) * 60, 40 + (i % 2) * 50,
                                           40 + (i / 2) * 60, 0, 100, resid::kKnobStrip, 20 + 25 * i));
        auto* value = scrolled->addChild(std::make_unique<CCTextCtrl>(
            kTagNone, 8 + (i % 2) * 50, 40 + (i / 2) * 60, 40 + (i % 2) * 50, 52 + (i / 2) * 60));
        value->setFont(text);
        knob->setLinkedText(value);
    }
    auto* scrollBar =
        add(std::make_unique<CCScroller>(28, 292, 215, 302, 305, resid::kScrollTrack, resid::kScrollThumb),
            "Scroller", 317);
    scrolled->attachScroller(scrollBar);
    scrolled->setValue(24, Notify::no, Redraw::yes, SelfOnly::no);
    add(std::make_unique<CCSplashScreen>(320, 205, 560, 325, resid::kSplashPanel), "SplashScreen", 327);

    // The classes that were there before, for the whole table in one picture.
    add(std::make_unique<CCOnOffButton>(30, 10, 350, 34, 362, resid::kSwitchButton), "OnOffButton", 364);
    add(std::make_unique<CSimpleButton>(31, 70, 350, 88, 364, resid::kCloseButton), "SimpleButton", 366);
    auto* textButton =
        add(std::make_unique<CCTextButton>(32, 130, 350, 170, 366, resid::kModePedal, ""), "TextButton", 368);
    textButton->setValue(1, Notify::no, Redraw::no, SelfOnly::yes);
    auto* radio = add(std::make_unique<CCRadioButton>(33, 190, 350, 272, 366), "RadioButton", 368);
    radio->addMember(
        std::make_unique<CCOnOffButton>(kTagNone, 0, 0, 40, 16, resid::kModeLfo, kButtonSetOnly));
    radio->addMember(
        std::make_unique<CCOnOffButton>(kTagNone, 42, 0, 82, 16, resid::kModePitch, kButtonSetOnly));
    radio->setValue(0, Notify::no, Redraw::no, SelfOnly::yes);
    auto* tabs = add(std::make_unique<CCSimpleRadioButton>(34, 290, 346, 436, 366), "SimpleRadioButton", 368);
    tabs->addPosition(0, 0, resid::kTabPreset);
    tabs->addPosition(74, 0, resid::kTabMidi);
    auto* selector = add(std::make_unique<CCMenuSelector>(35, 450, 350, 540, 366, resid::kSelectorWell),
                         "MenuSelector", 368);
    selector->setFont(text);
    selector->addItem("Band pass");
    auto* selectorEx = add(std::make_unique<CCMenuSelectorEx>(36, 10, 390, 190, 406, resid::kBottomSelector),
                           "MenuSelectorEx", 408);
    selectorEx->setFont(text);
    selectorEx->menu().addItem("F07 Fat wah", 7);
    selectorEx->setValue(7, Notify::no, Redraw::no, SelfOnly::yes);
    auto* field =
        add(std::make_unique<CCTextCtrl>(37, 210, 390, 386, 406, resid::kFieldWell), "TextCtrl", 408);
    field->setFont(text);
    field->setText("1250 Hz");
    auto* fixed =
        add(std::make_unique<CCStaticTextCtrl>(38, 400, 390, 480, 406, "Static text"), "StaticTextCtrl", 408);
    fixed->setFont(text);
    auto* pedalVersion =
        add(std::make_unique<CCVersionTextCtrl>(39, 500, 390, 560, 406), "VersionTextCtrl", 408);
    pedalVersion->setFont(text);
    pedalVersion->setVersionWord(versionWord(1, 5, 0, 0));
    auto* lamp = add(std::make_unique<CCIndicator>(50, 580, 392, 592, 404, resid::kLamp), "Indicator", 408);
    lamp->setValue(1, Notify::no, Redraw::no, SelfOnly::yes);
    auto* progress = add(std::make_unique<CCSimpleProgress>(51, 10, 430, 210, 438, resid::kProgressTrack,
                                                            resid::kProgressFill, 4),
                         "SimpleProgress", 440);
    progress->setValue(3, Notify::no, Redraw::no, SelfOnly::yes);
    auto* modal =
        add(std::make_unique<CCModalPanel>(230, 425, 430, 473, resid::kBusyPanel), "ModalPanel", 474);
    (void)modal;

    manager.redraw(*ctx, nullptr);
    EXPECT_TRUE(ctx->writePng(std::string(TOVAN_TEST_OUTPUT_DIR) + "/control_table_contact_sheet.png"));

    // The frames that carry a state landed where they should.
    const CCBitmap& s = ctx->surface();
    EXPECT_GT(s.pixelAt(496, 85).red, 200) << "the meter's low segments are lit";
    EXPECT_LT(s.pixelAt(496, 14).red, 140) << "its top stays dark";
    EXPECT_GT(s.pixelAt(575, 14).red, 200) << "the clip lamp holds after the peak";
    EXPECT_GT(s.pixelAt(22, 168).red, 200) << "the flashing button starts lit";
}

} // namespace
