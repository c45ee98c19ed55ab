#pragma once

#include <cstdint>

// Numbers of the program's images, as the pages and controls ask for them.
namespace resid {
constexpr int32_t kPageBody = 100;      // 640 x 650 body of the main page (24-bit)
constexpr int32_t kLamp = 161;          // status lamp, frames off and on
constexpr int32_t kModeLamp = 162;      // mode switch lamp, frames off and on
constexpr int32_t kEditedLamp = 163;    // preset-edited lamp, frames off and on
constexpr int32_t kDeleteButton = 164;  // delete the current preset
constexpr int32_t kStoreButton = 165;   // store the preset
constexpr int32_t kDiscardButton = 166; // discard changes
constexpr int32_t kKnobStrip = 203;     // knob, 32 x 34 frames
constexpr int32_t kFileButton = 216;    // export / load
constexpr int32_t kStepDown = 217;      // previous preset
constexpr int32_t kStepUp = 218;        // next preset
constexpr int32_t kSwapButton = 224;    // swap heel and toe
constexpr int32_t kSwitchButton = 241;  // on/off switch
constexpr int32_t kKnobFrameWidth = 32;
constexpr int32_t kKnobFrames = 64;
} // namespace resid
