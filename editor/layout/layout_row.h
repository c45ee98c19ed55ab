#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "editor/editor_tags.h"
#include "toolkit/geometry.h"

// One row of a page layout: what to make, with which tag, where (relative to
// the panel that holds it), from which images, in which tab or sub-panel group
// and with which text style. The builder turns a table of rows into controls;
// the tables are the only place that says where things are.
enum class RowKind : uint8_t {
    Label,      // fixed text (the display tag); `follows` names the control it belongs to
    Picture,    // a fixed image (a one-frame indicator)
    Panel,      // a container; its rows are `children`
    Pot,        // a knob from strip images[0] with its value text below
    Field,      // a text field over images[0]; `mode` 1 edits a value, 2 a text of its own
    Menu,       // a drawn-list selector of the parameter's value names over images[0]
    MenuEx,     // a pop-up menu selector over images[0]; its items by `mode` (MenuSource)
    Button,     // an on/off button from images[0] with `frames` frames; `mode` is its button mode
    Radio,      // member buttons images[0..3], `frames` members spaced by `spacing`
    Positions,  // a row of drawn positions images[0..3], `frames` positions spaced by `spacing`
    Lamp,       // an indicator strip images[0] of two frames
    TextButton, // a captioned button over images[0]; a toggle when `mode` is 1
    Progress,   // a progress bar: track images[0], fill images[1], maximum `mode`
    Display,    // the filter response display (made by the page's hook)
    LfoDisplay, // an LFO waveform display (made by the page's hook)
    List,       // a library list (made by the page's hook); `mode` says which (LibraryListKind)
};

// The library tab's lists.
enum LibraryListKind : int32_t {
    kUserPresetList = 0,
    kFactoryPresetList = 1,
    kLibraryFileList = 2,
};

// Where a pop-up selector's items come from.
enum MenuSource : int32_t {
    kMenuFromValueNames = 0, // the parameter's value names (the link fills the rest)
    kMenuPrograms = 1,       // MIDI programs
    kMenuControllers = 2,    // MIDI controllers
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
inline constexpr uint8_t kRowNumbered = 1 << 0;         // the text's %d is the filter number (1 or 2)
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
    int32_t mode = 0;
    int32_t frames = 1;
    int32_t spacing = 0;
    uint8_t flags = 0;
    Role role = Role::None;
    int32_t follows = 0; // a label's control (filter-1 tag); 0 for none
    int32_t number = 0;
    int32_t maxLength = 0; // characters an editable field takes; 0 for the toolkit's limit
    std::span<const LayoutRow> children{};
    // A panel whose rows are another file's table.
    std::span<const LayoutRow> (*childTable)() = nullptr;
    // A panel that holds one filter's controls (0 or 1); -1 elsewhere.
    int32_t filter = -1;
};

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
