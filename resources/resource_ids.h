#pragma once

#include <cstdint>

// Numbers of the program's images, as the pages and controls ask for them.
namespace resid {
constexpr int32_t kPageBody = 100; // 640 x 650 body of the main page (32-bit, opaque)
constexpr int32_t kTabBody = 101;  // 600 x 556 area of the other tabs (32-bit, opaque)
// Pointer shapes, 24 x 24: buttons (hot spot 8, 2), knobs dragged up and down
// and knobs turned round (hot spot in the middle).
constexpr int32_t kCursorButtonImage = 300;
constexpr int32_t kCursorLinearImage = 302;
constexpr int32_t kCursorCircularImage = 303;
constexpr int32_t kDialogBox = 253;      // 300 x 130 box of the store panel
constexpr int32_t kSlotButton = 252;     // 56 x 14 setlist slot button
constexpr int32_t kWideButton = 254;     // 96 x 16 captioned button of the library tab
constexpr int32_t kLamp = 161;           // status lamp, frames off and on
constexpr int32_t kModeLamp = 162;       // mode switch lamp, frames off and on
constexpr int32_t kEditedLamp = 163;     // preset-edited lamp, frames off and on
constexpr int32_t kDeleteButton = 164;   // delete the current preset
constexpr int32_t kStoreButton = 165;    // store the preset
constexpr int32_t kDiscardButton = 166;  // discard changes
constexpr int32_t kUndoButton = 167;     // take the last step back
constexpr int32_t kRedoButton = 168;     // do the step taken back again
constexpr int32_t kCompareButton = 169;  // the stored preset against the edited one
constexpr int32_t kKnobStrip = 203;      // knob, 32 x 34 frames
constexpr int32_t kFileButton = 216;     // export / load
constexpr int32_t kStepUp = 217;         // next preset (an up arrow)
constexpr int32_t kStepDown = 218;       // previous preset (a down arrow)
constexpr int32_t kSwapButton = 224;     // swap heel and toe
constexpr int32_t kSwitchButton = 241;   // on/off switch
constexpr int32_t kCloseButton = 212;    // close the window, frames off and lit
constexpr int32_t kTopmostButton = 213;  // keep the window on top (tinted)
constexpr int32_t kMinimiseButton = 214; // minimise, frames off and lit
constexpr int32_t kPotModeButton = 215;  // pot drag preference, frames circular and linear
constexpr int32_t kModePedal = 220;      // filter mode buttons (tinted)
constexpr int32_t kModeLfo = 221;
constexpr int32_t kModeEnvelope = 222;
constexpr int32_t kModePitch = 223;
constexpr int32_t kTabPreset = 230; // tabs, frames at rest and chosen
constexpr int32_t kTabSettings = 231;
constexpr int32_t kViewSweep = 232; // view switch, frames at rest and chosen
constexpr int32_t kViewVowel = 233;
constexpr int32_t kTabMidi = 234;
constexpr int32_t kTabSetlist = 235;
constexpr int32_t kTabLibrary = 236;
constexpr int32_t kBottomSelector = 242;  // 180 x 16 well of the bottom strip's selector
constexpr int32_t kFieldWell = 250;       // 176 x 16 well of text fields and menu selectors
constexpr int32_t kSelectorWell = 251;    // 90 x 16 well with an arrow for drawn-list selectors
constexpr int32_t kProgressTrack = 260;   // 200 x 8
constexpr int32_t kProgressFill = 261;    // 200 x 8
constexpr int32_t kBusyPanel = 581;       // 200 x 48 busy overlay
constexpr int32_t kLogo = 255;            // 100 x 28 maker's logo button
constexpr int32_t kOrientationRing = 187; // 16 x 16 ring over a handle picture, frames off and on

// The filter display: two 580 x 176 chart backgrounds (24-bit) and the images
// drawn centred on their points over them.
constexpr int32_t kSweepChart = 180;
constexpr int32_t kVowelChart = 192;
constexpr int32_t kFilterChartWidth = 580;
constexpr int32_t kFilterChartHeight = 176;
constexpr int32_t kHandle1Heel = 181;
constexpr int32_t kHandle1Toe = 182;
constexpr int32_t kHandle2Heel = 183;
constexpr int32_t kHandle2Toe = 185;
constexpr int32_t kPathDot1 = 188; // one dot of a filter's sweep path
constexpr int32_t kPathDot2 = 189;
constexpr int32_t kMarker1 = 190; // live position of a filter
constexpr int32_t kMarker2 = 191;

constexpr int32_t kKnobFrameWidth = 32;
constexpr int32_t kKnobFrames = 64;
} // namespace resid

// The rest of the control table; strips are frames side by side.
namespace resid {
constexpr int32_t kEncoderStrip = 600;      // rotary encoder, 72 frames of 32 x 34, a full turn
constexpr int32_t kSpinnerStrip = 601;      // spinner, 16 frames of 24 x 24, a quarter turn
constexpr int32_t kModWheelStrip = 602;     // modulation wheel, 32 frames of 20 x 60
constexpr int32_t kSliderTrack = 603;       // 24 x 100 vertical track
constexpr int32_t kSliderHandle = 604;      // 20 x 10
constexpr int32_t kHSliderTrack = 605;      // 100 x 16 horizontal track
constexpr int32_t kHSliderHandle = 606;     // 10 x 14
constexpr int32_t kCurvedTrack = 607;       // 120 x 30, arched 12 pixels
constexpr int32_t kCurvedHandle = 608;      // 12 x 12
constexpr int32_t kFlashButton = 609;       // 3 frames of 24 x 16: lit, off, pressed
constexpr int32_t kPulseButton = 610;       // 2 frames of 32 x 16: base, glow
constexpr int32_t kButtonMenuStrip = 611;   // 3 frames of 40 x 16: disabled, rest, pressed
constexpr int32_t kSwitchStrip = 612;       // 3 frames of 16 x 36, one per position
constexpr int32_t kBargraphStrip = 613;     // 11 frames of 64 x 8, 0 to 10 segments
constexpr int32_t kLedStrip = 614;          // 2 frames of 10 x 10: off, lit
constexpr int32_t kMeterTrack = 615;        // 12 x 80 vertical meter
constexpr int32_t kMeterFill = 616;         // 12 x 80
constexpr int32_t kClipLamp = 617;          // 2 frames of 10 x 10: off, lit
constexpr int32_t kThreeLedStrip = 618;     // 4 frames of 12 x 36: 0 to 3 lamps lit
constexpr int32_t kThresholdScale = 619;    // 120 x 16
constexpr int32_t kFrequencyScale = 620;    // 160 x 20, 100 Hz to 10 kHz
constexpr int32_t kLogoPicture = 621;       // 64 x 40
constexpr int32_t kSplashPanel = 622;       // 240 x 120
constexpr int32_t kScrollTrack = 623;       // 10 x 100
constexpr int32_t kScrollThumb = 624;       // 10 x 20, caps of 5 and a middle stretched
constexpr int32_t kHMeterTrack = 625;       // 100 x 10 horizontal meter
constexpr int32_t kHMeterFill = 626;        // 100 x 10
constexpr int32_t kReverseMeterFill = 627;  // 12 x 80, hot end at the bottom
constexpr int32_t kHReverseMeterFill = 628; // 100 x 10, hot end at the left
} // namespace resid
