#pragma once

#include <cstdint>

// Numbers of the program's images, as the pages and controls ask for them.
namespace resid {
constexpr int32_t kPageBody = 100;       // 640 x 650 body of the main page (24-bit)
constexpr int32_t kTabBody = 101;        // 600 x 556 area of the other tabs (24-bit)
constexpr int32_t kSlotButton = 252;     // 56 x 14 setlist slot button
constexpr int32_t kLamp = 161;           // status lamp, frames off and on
constexpr int32_t kModeLamp = 162;       // mode switch lamp, frames off and on
constexpr int32_t kEditedLamp = 163;     // preset-edited lamp, frames off and on
constexpr int32_t kDeleteButton = 164;   // delete the current preset
constexpr int32_t kStoreButton = 165;    // store the preset
constexpr int32_t kDiscardButton = 166;  // discard changes
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
