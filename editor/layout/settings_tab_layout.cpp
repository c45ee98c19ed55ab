// The settings tab (tab group 8): the pedal's name and global settings, the
// editor's own knob setting, the reset and firmware commands, and what the
// editor knows of the pedal and of itself.
#include "editor/layout/row_helpers.h"
#include "model/pedal_parameters.h"

namespace layout {
namespace {

using namespace rows;
using namespace ptag;

constexpr int32_t kKnobRow = 150;
constexpr int32_t kInfoTop = 320;

constexpr LayoutRow infoText(int32_t line, const char* caption, Role role) {
    return {.kind = RowKind::Label,
            .rect = at(152, kInfoTop + 20 * line, 200, 16),
            .style = TextStyle::Info,
            .text = caption,
            .role = role};
}

constexpr LayoutRow kSettingsRows[] = {
    label(at(10, 6, 200, 14), "SETTINGS", 0, TextStyle::Heading),
    label(at(40, 33, 110, 16), "pedal name :"),
    {.kind = RowKind::Field,
     .tag = kDeviceName,
     .rect = at(152, 33, 176, 16),
     .images = {resid::kFieldWell},
     .style = TextStyle::Value,
     .edit = FieldKind::Value,
     .maxLength = 16},
    label(at(380, 33, 105, 16), "instrument :"),
    menu(kInstrument, at(489, 33, 90, 16)),
    label(at(380, 59, 105, 16), "footswitch :"),
    menu(kSwitchMode, at(489, 59, 90, 16)),
    label(at(380, 85, 105, 16), "off delay :"),
    menu(kOffDelay, at(489, 85, 90, 16)),
    knobLabel(60, kKnobRow, "DISPLAY", kDisplayBrightness),
    pot(kDisplayBrightness, 60, kKnobRow),
    knobLabel(140, kKnobRow, "HEEL DEAD", kHeelDeadZone),
    pot(kHeelDeadZone, 140, kKnobRow),
    knobLabel(220, kKnobRow, "TOE DEAD", kToeDeadZone),
    pot(kToeDeadZone, 220, kKnobRow),
    knobLabel(300, kKnobRow, "SMOOTH", kPedalSmoothing),
    pot(kPedalSmoothing, 300, kKnobRow),
    knobLabel(380, kKnobRow, "SW. POS", kSwitchPosition),
    pot(kSwitchPosition, 380, kKnobRow),
    label(at(40, 222, 110, 16), "knob dragging :"),
    button(etag::kPotControl, at(152, 222, 24, 16), resid::kPotModeButton, kButtonToggle, 2),
    label(at(182, 222, 200, 16), "click: round or up and down"),
    label(at(40, 248, 110, 16), "reset settings :"),
    button(etag::kResetPedal, at(152, 248, 20, 16), resid::kFileButton, kButtonTriggerTracking),
    label(at(40, 274, 110, 16), "update firmware :"),
    button(etag::kFirmwareUpdate, at(152, 274, 20, 16), resid::kFileButton, kButtonTriggerTracking),
    label(at(40, kInfoTop, 110, 16), "firmware :"),
    infoText(0, "", Role::FirmwareText),
    label(at(40, kInfoTop + 20, 110, 16), "hardware :"),
    infoText(1, "", Role::HardwareText),
    label(at(40, kInfoTop + 40, 110, 16), "pedal :"),
    infoText(2, "", Role::PedalNameText),
    label(at(40, kInfoTop + 60, 110, 16), "editor :"),
    infoText(3, "", Role::EditorVersionText),
};
static_assert(rowsFit(kSettingsRows));

} // namespace

std::span<const LayoutRow> settingsTabRows() {
    return kSettingsRows;
}

} // namespace layout
