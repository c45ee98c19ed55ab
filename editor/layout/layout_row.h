#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "editor/editor_tags.h"
#include "toolkit/controls/on_off_button.h"
#include "toolkit/geometry.h"

// One row of a page layout: what to make, with which tag, where (relative to
// the panel that holds it), from which images, in which tab or sub-panel group
// and with which text style. The builder turns a table of rows into controls;
// the tables are the only place that says where things are. Each field has one
// meaning; the kinds below say which of them they read.
enum class RowKind : uint8_t {
    Label,      // fixed text (the display tag)
    Picture,    // a fixed image of `frames` frames, showing the first
    Panel,      // a container; its rows are `children`
    Pot,        // a knob from strip images[0] with its value text below
    Field,      // a text field over images[0]; `edit` says what typing changes
    Menu,       // a drawn-list selector of the parameter's value names over images[0]
    MenuEx,     // a pop-up menu selector over images[0]; its items from `source`
    Button,     // an on/off button from images[0] with `frames` frames, answering as `buttonMode`
    Radio,      // `members` member buttons images[0..], spaced by `spacing`
    Positions,  // `members` drawn positions images[0..] of `frames` frames, spaced by `spacing`
    Lamp,       // an indicator strip images[0] of `frames` frames, off and lit
    TextButton, // a captioned button over images[0]; `press` says whether it toggles
    Progress,   // a progress bar: track images[0], fill images[1], full at `progressMaximum`
    Display,    // the filter response display (made by the page's hook)
    LfoDisplay, // an LFO waveform display (made by the page's hook)
    List,       // a library list (made by the page's hook) of the `list` kind
};

// What typing into a text field changes.
enum class FieldKind : uint8_t {
    Display, // nothing: the field only shows its parameter's value
    Value,   // the parameter's value, parsed from the text
    OwnText, // a text of its own (a name, a description, a search)
};

// Where a pop-up selector's items come from.
enum class MenuSource : uint8_t {
    ValueNames,  // the parameter's value names (the link fills the rest)
    Programs,    // MIDI programs
    Controllers, // MIDI controllers
};

// How a captioned button answers a press.
enum class PressKind : uint8_t {
    Push,   // 1 while pressed
    Toggle, // on and off by turns
};

// The library tab's lists.
enum class LibraryListKind : uint8_t {
    UserPresets,
    FactoryPresets, // read only
    LibraryFiles,
};

// The page's text styles (the page maps each to a font, colour and alignment).
enum class TextStyle : uint8_t {
    None,
    Value,        // value texts of knobs, fields and selectors
    ValueLeft,    // long value texts (preset names), from the left, cut at the end
    SmallValue,   // value texts in narrow selectors
    Label,        // captions of controls, left-aligned
    KnobLabel,    // captions over knobs, centred
    Heading,      // panel titles
    PresetNumber, // the big preset number
    Caption,      // captions of the bottom strip's buttons (right-aligned)
    Message,      // longer texts (busy overlay, no pedal)
    Info,         // what the editor knows (versions, names), left-aligned
};

// Objects the page keeps a pointer to, marked in the tables.
enum class Role : uint8_t {
    None,
    PresetNumber,
    PresetMenu,
    DeleteButton,
    DiscardButton,
    StoreButton,
    ActionCaption,
    LoadCaption,
    LampA,
    LampB,
    EditedLamp,
    LockLamp,
    BusyOverlay,
    BusyCaption,
    ReadingBar,
    TabContents,
    FilterPanel1,
    FilterPanel2,
    LfoDisplay1,
    LfoDisplay2,
    FilterDisplay,
    NoPedalText,
    ProgressBar,
    SetlistFlag,
    FirmwareText,
    HardwareText,
    PedalNameText,
    EditorVersionText,
    UndoButton,
    RedoButton,
    CompareButton,
    CompareLamp,
    HistoryCaption,
    UserList,
    FactoryList,
    LibraryList,
    LibrarySearch,
    LibraryFolderText,
    LibraryStatus,
    kCount
};

// Row flags.
inline constexpr uint8_t kRowNumbered = 1 << 0;         // the text's %d (or %u) is `number`
inline constexpr uint8_t kRowMayOverlap = 1 << 1;       // drawn over or under a neighbour on purpose
inline constexpr uint8_t kRowGroupSelector = 1 << 2;    // selects its panel's group (1 << value)
inline constexpr uint8_t kRowHidden = 1 << 3;           // starts hidden
inline constexpr uint8_t kRowCommandPerFilter = 1 << 4; // command tag + filter index (201, 202)
inline constexpr uint8_t kRowReportsTyping = 1 << 5;    // a field that hands its text on as it is typed

struct LayoutRow {
    RowKind kind = RowKind::Label;
    int32_t tag = etag::kDisplay;
    CCRect rect{};
    std::array<int32_t, 5> images{};
    uint16_t group = 0;
    TextStyle style = TextStyle::None;
    const char* text = nullptr;
    // Button: how it answers a press and its release.
    CCButtonMode buttonMode = kButtonMomentary;
    // Field: what typing changes.
    FieldKind edit = FieldKind::Display;
    // MenuEx: where its items come from.
    MenuSource source = MenuSource::ValueNames;
    // TextButton: a push or a toggle.
    PressKind press = PressKind::Push;
    // Progress: the value of a full bar.
    int32_t progressMaximum = 0;
    // List: which of the library's lists.
    LibraryListKind list = LibraryListKind::UserPresets;
    // Frames in each image strip (Picture, Button, Lamp, each of Positions').
    int32_t frames = 1;
    // Radio, Positions: how many members, images[0..members - 1], `spacing` apart.
    int32_t members = 0;
    int32_t spacing = 0;
    uint8_t flags = 0;
    Role role = Role::None;
    // The control (filter-1 tag) this row shows and hides with; 0 for none.
    int32_t follows = 0;
    // The number a kRowNumbered text shows; 0 for the panel's filter number (1 or 2).
    int32_t number = 0;
    int32_t maxLength = 0; // characters an editable field takes; 0 for the toolkit's limit
    std::span<const LayoutRow> children{};
    // A panel whose rows are another file's table.
    std::span<const LayoutRow> (*childTable)() = nullptr;
    // A panel that holds one filter's controls (0 or 1); -1 elsewhere.
    int32_t filter = -1;
};

// What in a row does not fit its kind (a field another kind reads, or a
// member count its images cannot hold), or nullptr when it all fits. The
// builder refuses such a row, so a value never lands in a field nothing reads.
constexpr const char* rowMismatch(const LayoutRow& row) {
    const RowKind k = row.kind;
    if (row.edit != FieldKind::Display && k != RowKind::Field)
        return "an edit kind on a row that is no field";
    if (row.source != MenuSource::ValueNames && k != RowKind::MenuEx)
        return "a menu source on a row that is no pop-up menu";
    if (row.press != PressKind::Push && k != RowKind::TextButton)
        return "a press kind on a row that is no captioned button";
    if (row.buttonMode != kButtonMomentary && k != RowKind::Button)
        return "a button mode on a row that is no button";
    if ((row.progressMaximum != 0) != (k == RowKind::Progress))
        return k == RowKind::Progress ? "a progress bar without a maximum"
                                      : "a progress maximum on a row that is no progress bar";
    if (row.list != LibraryListKind::UserPresets && k != RowKind::List)
        return "a list kind on a row that is no list";
    const bool grouped = k == RowKind::Radio || k == RowKind::Positions;
    if ((row.members != 0) != grouped)
        return grouped ? "a radio or position row without members" : "members on a row that holds none";
    if (row.members < 0 || row.members > static_cast<int32_t>(row.images.size()))
        return "more members than images";
    if (row.frames < 1) return "an image strip of no frames";
    return nullptr;
}

// Whether every row of a table, and of the tables its panels hold, fits its kind.
constexpr bool rowsFit(std::span<const LayoutRow> rows) {
    for (const LayoutRow& row : rows)
        if (rowMismatch(row) != nullptr || !rowsFit(row.children)) return false;
    return true;
}

// The tables, one per part of the page.
namespace layout {
// The frame: title strip, tab contents, bottom strip, busy overlay.
std::span<const LayoutRow> frameRows();
// The busy overlay's captions: the pedal busy, and the whole pedal being read.
inline constexpr const char* kBusyText = "The pedal is busy";
inline constexpr const char* kReadingText = "Reading the Tovan";
// The preset tab (tab group 1), holding two filter panels.
std::span<const LayoutRow> presetTabRows();
// One filter panel, in filter 1's tags; built twice.
std::span<const LayoutRow> filterPanelRows();
// The other tabs (tab groups 2, 4 and 8).
std::span<const LayoutRow> setlistTabRows();
std::span<const LayoutRow> midiTabRows();
std::span<const LayoutRow> settingsTabRows();
// The library tab (tab group 16): the user and factory presets and a folder of preset files.
std::span<const LayoutRow> libraryTabRows();
// The store panel's box (300 x 130) and the tags of its slot menu and texts.
inline constexpr int32_t kStoreSlotTag = etag::kStoreSlot;
inline constexpr int32_t kStoreNameTag = etag::kStoreName;
inline constexpr int32_t kStoreDescriptionTag = etag::kStoreDescription;
inline constexpr CCSize kStorePanelSize{300, 130};
std::span<const LayoutRow> storePanelRows();
// The box of the progress panel shown while a backup or restore runs.
std::span<const LayoutRow> progressRows();
// Where each filter panel sits in the preset tab.
CCRect filterPanelRect(int32_t filter);
} // namespace layout
