// The window frame: the title strip with the status lamps and window buttons,
// the tab selector and the tab contents, the bottom strip with the pedal
// chooser and the file buttons, and the busy overlay. Window coordinates.
#include "editor/layout/row_helpers.h"
#include "model/pedal_parameters.h"

namespace layout {
namespace {

using namespace rows;

constexpr int32_t kStripY = 616;

// A tab: a panel over the tab area, shown while its tab is chosen.
constexpr LayoutRow tab(int32_t index, int32_t background, std::span<const LayoutRow> (*rows)()) {
    return {.kind = RowKind::Panel,
            .tag = kTagNone,
            .rect = {20, 44, 620, 600},
            .images = {background},
            .group = tabGroup(index),
            .childTable = rows};
}

// The tab contents: the selector and one panel a tab.
constexpr LayoutRow kTabRows[] = {
    {.kind = RowKind::Positions,
     .tag = etag::kTabSelector,
     .rect = at(15, 19, kTabCount * 74 - 2, 20),
     .images = {resid::kTabPreset, resid::kTabSetlist, resid::kTabMidi, resid::kTabSettings,
                resid::kTabLibrary},
     .frames = 2,
     .members = kTabCount,
     .spacing = 74,
     .flags = kRowGroupSelector},
    tab(0, 0, &presetTabRows),
    tab(1, resid::kTabBody, &setlistTabRows),
    tab(2, resid::kTabBody, &midiTabRows),
    tab(3, resid::kTabBody, &settingsTabRows),
    tab(kLibraryTab, resid::kTabBody, &libraryTabRows),
};

constexpr LayoutRow kBusyRows[] = {
    {.kind = RowKind::Label,
     .rect = at(0, 6, 200, 14),
     .style = TextStyle::Message,
     .text = kBusyText,
     .role = Role::BusyCaption},
    // While the whole pedal is read, how much of it has been.
    {.kind = RowKind::Progress,
     .tag = etag::kDisplay,
     .rect = at(0, 30, 200, 8),
     .images = {resid::kProgressTrack, resid::kProgressFill},
     .progressMaximum = 100,
     .flags = kRowHidden,
     .role = Role::ReadingBar},
};

constexpr LayoutRow kFrameRows[] = {
    button(kModeSwitch, at(169, 3, 16, 16), resid::kModeLamp, kButtonToggle, 2),
    label(at(187, 3, 28, 16), "MODE"),
    lamp(etag::kDisplay, at(218, 5, 12, 12), resid::kLamp, Role::LampA),
    lamp(etag::kDisplay, at(232, 5, 12, 12), resid::kLamp, Role::LampB),
    lamp(etag::kDisplay, at(250, 5, 12, 12), resid::kEditedLamp, Role::EditedLamp),
    label(at(264, 3, 44, 16), "EDITED"),
    // Lit while the stored preset is heard in place of the edited one.
    lamp(etag::kDisplay, at(314, 5, 12, 12), resid::kLamp, Role::CompareLamp),
    label(at(328, 3, 56, 16), "COMPARE"),
    button(etag::kMinimise, at(559, 6, 18, 14), resid::kMinimiseButton, kButtonTriggerTracking, 2),
    button(etag::kTopmost, at(583, 6, 18, 14), resid::kTopmostButton, kButtonToggle),
    button(etag::kClose, at(607, 6, 18, 14), resid::kCloseButton, kButtonTriggerTracking, 2),
    panel({0, 0, 640, 600}, kTabRows, 0, Role::TabContents),
    {.kind = RowKind::Label,
     .rect = {120, 190, 520, 220},
     .style = TextStyle::Message,
     .text = "No pedal connected. Plug in your Tovan.",
     .flags = kRowHidden | kRowMayOverlap,
     .role = Role::NoPedalText},
    menuEx(kDeviceSelect, at(16, kStripY, 180, 16), resid::kBottomSelector),
    {.kind = RowKind::Label,
     .rect = {198, kStripY, 378, kStripY + 16},
     .style = TextStyle::Caption,
     .text = "Export Preset",
     .flags = kRowMayOverlap,
     .role = Role::ActionCaption},
    button(etag::kExportOrBackup, at(380, kStripY, 20, 16), resid::kFileButton, kButtonTriggerTracking),
    {.kind = RowKind::Label,
     .rect = {278, kStripY, 458, kStripY + 16},
     .style = TextStyle::Caption,
     .text = "Load",
     .flags = kRowMayOverlap,
     .role = Role::LoadCaption},
    button(etag::kLoadFile, at(460, kStripY, 20, 16), resid::kFileButton, kButtonTriggerTracking),
    button(etag::kMakerPage, at(640 - 120, 610, 100, 28), resid::kLogo, kButtonTriggerTracking),
    {.kind = RowKind::Panel,
     .tag = kTagNone,
     .rect = at(220, 350, 200, 48),
     .images = {resid::kBusyPanel},
     .flags = kRowHidden | kRowMayOverlap,
     .role = Role::BusyOverlay,
     .children = kBusyRows},
};
static_assert(rowsFit(kFrameRows));

} // namespace

std::span<const LayoutRow> frameRows() {
    return kFrameRows;
}

} // namespace layout
