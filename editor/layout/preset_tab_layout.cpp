// The preset tab (tab group 1): the preset header with its number, menu, preset
// buttons and preset-wide knobs, the filter response display with its view
// switch, and the two filter panels. Coordinates are relative to the tab.
#include "editor/layout/row_helpers.h"
#include "model/pedal_parameters.h"

namespace layout {
namespace {

using namespace rows;

constexpr int32_t knobX(int32_t k) {
    return 353 + 48 * k;
}
constexpr int32_t kKnobY = 29;

constexpr CCRect kFilterPanels[2] = {{5, 274, 295, 554}, {305, 274, 595, 554}};

constexpr LayoutRow filterPanel(int32_t filter, Role role) {
    return {.kind = RowKind::Panel,
            .tag = kTagNone,
            .rect = kFilterPanels[filter],
            .role = role,
            .childTable = &filterPanelRows,
            .filter = filter};
}

constexpr LayoutRow kPresetRows[] = {
    button(etag::kNextPreset, at(12, 20, 16, 16), resid::kStepUp, kButtonTriggerTracking),
    button(etag::kPreviousPreset, at(12, 40, 16, 16), resid::kStepDown, kButtonTriggerTracking),
    {.kind = RowKind::Label,
     .rect = {30, 15, 110, 80},
     .style = TextStyle::PresetNumber,
     .text = "F00",
     .flags = kRowMayOverlap, // its box reaches two pixels into the display's frame
     .role = Role::PresetNumber},
    label(at(112, 15, 44, 14), "PRESET"),
    // What the next undo takes back ("Undo: LEVEL 80").
    {.kind = RowKind::Label,
     .rect = at(158, 15, 132, 14),
     .style = TextStyle::Caption,
     .text = "",
     .role = Role::HistoryCaption},
    menuEx(kCurrentPreset, {110, 30, 290, 46}, resid::kBottomSelector, Role::PresetMenu),
    // The preset buttons, one row under the menu.
    button(etag::kStorePanel, at(110, 49, 36, 16), resid::kStoreButton, kButtonTriggerTracking, 1,
           Role::StoreButton),
    button(etag::kDeletePreset, at(150, 49, 36, 16), resid::kDeleteButton, kButtonTriggerTracking, 1,
           Role::DeleteButton),
    button(etag::kUndo, at(190, 49, 32, 16), resid::kUndoButton, kButtonTriggerTracking, 1, Role::UndoButton),
    button(etag::kRedo, at(226, 49, 32, 16), resid::kRedoButton, kButtonTriggerTracking, 1, Role::RedoButton),
    button(etag::kCompare, at(262, 49, 38, 16), resid::kCompareButton, kButtonTriggerTracking, 1,
           Role::CompareButton),
    button(etag::kDiscardChanges, at(304, 49, 36, 16), resid::kDiscardButton, kButtonTriggerTracking, 1,
           Role::DiscardButton),
    lamp(etag::kDisplay, at(300, 32, 12, 12), resid::kLamp, Role::LockLamp),
    label(at(314, 30, 34, 16), "LOCK"),
    knobLabel(knobX(0), kKnobY, "LEVEL", ptag::kOutputLevel),
    pot(ptag::kOutputLevel, knobX(0), kKnobY),
    knobLabel(knobX(1), kKnobY, "BALANCE", ptag::kFilterBalance),
    pot(ptag::kFilterBalance, knobX(1), kKnobY),
    knobLabel(knobX(2), kKnobY, "DRY", ptag::kDryLevel),
    pot(ptag::kDryLevel, knobX(2), kKnobY),
    knobLabel(knobX(3), kKnobY, "DRIVE", ptag::kDrive),
    pot(ptag::kDrive, knobX(3), kKnobY),
    knobLabel(knobX(4), kKnobY, "SMOOTH", ptag::kSmoothing),
    pot(ptag::kSmoothing, knobX(4), kKnobY),
    {.kind = RowKind::Display,
     .rect = {10, 78, 10 + resid::kFilterChartWidth, 78 + resid::kFilterChartHeight},
     .role = Role::FilterDisplay},
    label(at(420, 255, 56, 16), "VIEW", 0, TextStyle::Caption),
    {.kind = RowKind::Positions,
     .tag = etag::kViewSwitch,
     .rect = at(480, 255, 50, 16),
     .images = {resid::kViewSweep, resid::kViewVowel},
     .frames = 2,
     .members = 2,
     .spacing = 26},
    filterPanel(0, Role::FilterPanel1),
    filterPanel(1, Role::FilterPanel2),
};
static_assert(rowsFit(kPresetRows));

} // namespace

std::span<const LayoutRow> presetTabRows() {
    return kPresetRows;
}

CCRect filterPanelRect(int32_t filter) {
    return kFilterPanels[filter == 0 ? 0 : 1];
}

} // namespace layout
