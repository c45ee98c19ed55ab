// The library tab (tab group 16): the pedal's user presets on the left; on the
// right the factory presets (read only) and the library, a folder of preset
// files with a search field; the buttons that export and import all. Presets
// are dragged between the lists. Coordinates are relative to the tab.
#include "editor/layout/row_helpers.h"

namespace layout {
namespace {

using namespace rows;

constexpr LayoutRow list(int32_t tag, CCRect r, LibraryListKind kind, Role role) {
    return {.kind = RowKind::List, .tag = tag, .rect = r, .list = kind, .role = role};
}

constexpr LayoutRow wideButton(int32_t tag, CCRect r, const char* caption) {
    return {.kind = RowKind::TextButton,
            .tag = tag,
            .rect = r,
            .images = {resid::kWideButton},
            .style = TextStyle::Value,
            .text = caption};
}

constexpr LayoutRow info(CCRect r, const char* text, Role role) {
    return {.kind = RowKind::Label, .rect = r, .style = TextStyle::Info, .text = text, .role = role};
}

// 31 rows of 15 pixels and the frame.
constexpr int32_t kListTop = 46;
constexpr int32_t kUserBottom = kListTop + 31 * 15 + 2;

constexpr LayoutRow kLibraryRows[] = {
    label(at(10, 6, 200, 14), "LIBRARY", 0, TextStyle::Heading),
    label(at(10, 28, 200, 14), "USER PRESETS"),
    list(etag::kUserList, {10, kListTop, 290, kUserBottom}, LibraryListKind::UserPresets, Role::UserList),
    label(at(310, 28, 200, 14), "FACTORY PRESETS (READ ONLY)"),
    list(etag::kFactoryList, {310, kListTop, 590, kListTop + 10 * 15 + 2}, LibraryListKind::FactoryPresets,
         Role::FactoryList),
    label(at(310, 212, 86, 14), "PRESET FILES"),
    info(at(400, 212, 190, 14), "", Role::LibraryFolderText),
    label(at(310, 232, 50, 16), "search :"),
    {.kind = RowKind::Field,
     .tag = etag::kLibrarySearch,
     .rect = at(362, 232, 176, 16),
     .images = {resid::kFieldWell},
     .style = TextStyle::ValueLeft,
     .edit = FieldKind::OwnText,
     .flags = kRowReportsTyping,
     .role = Role::LibrarySearch,
     .maxLength = 40},
    wideButton(etag::kLibraryFolder, at(542, 232, 48, 16), "Folder"),
    list(etag::kLibraryList, {310, 254, 590, kUserBottom}, LibraryListKind::LibraryFiles, Role::LibraryList),
    wideButton(etag::kExportAll, at(10, 522, 96, 16), "Export all..."),
    wideButton(etag::kImportFolder, at(114, 522, 96, 16), "Import..."),
    info(at(222, 522, 368, 16), "Drag a preset onto a slot: swap (Ctrl: copy). A file onto a slot: load.",
         Role::LibraryStatus),
};
static_assert(rowsFit(kLibraryRows));

} // namespace

std::span<const LayoutRow> libraryTabRows() {
    return kLibraryRows;
}

} // namespace layout
