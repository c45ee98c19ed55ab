// The setlist tab (tab group 2): the active setlist with its description and
// the pedal's preset display, then the twenty slots in two columns, each a slot
// button, a MIDI program and a preset. Coordinates are relative to the tab; the
// slots' to their own panel.
#include <array>

#include "editor/layout/row_helpers.h"
#include "model/pedal_parameters.h"

namespace layout {
namespace {

using namespace rows;
using namespace ptag;

constexpr int32_t kColumns = 2;
constexpr int32_t kRowsPerColumn = 10;
static_assert(kColumns * kRowsPerColumn == kSetlistPageSlots);

// Column 0's slot buttons start at the panel's left edge and column 1's preset
// selectors end short of its right edge (the panel clips anything beyond); a
// preset selector stops short of the next column's slot button.
constexpr int32_t columnX(int32_t c) {
    return 160 + 276 * c;
}
// A slot button is 56 wide; a program selector is 54 wide, so "(undefined)" fits.
constexpr int32_t rowY(int32_t r) {
    return 30 + 32 * r;
}

// Two headers a column, then three controls a slot.
constexpr size_t kSlotRowCount = kColumns * 2 + kColumns * kRowsPerColumn * 3;

constexpr std::array<LayoutRow, kSlotRowCount> makeSlotRows() {
    std::array<LayoutRow, kSlotRowCount> rows{};
    size_t i = 0;
    for (int32_t c = 0; c < kColumns; ++c) {
        const int32_t x = columnX(c);
        // The two headers share their box's left part, by the table's design.
        rows[i] = label({x - 100, 10, x, 24}, "Prog");
        rows[i++].flags = kRowMayOverlap;
        rows[i] = label({x - 42, 10, x + 40, 24}, "Preset");
        rows[i++].flags = kRowMayOverlap;
        for (int32_t r = 0; r < kRowsPerColumn; ++r) {
            const int32_t y = rowY(r);
            const int32_t slot = kRowsPerColumn * c + r;
            rows[i++] = {.kind = RowKind::TextButton,
                         .tag = slotButton(slot),
                         .rect = {x - 160, y, x - 104, y + 14},
                         .images = {resid::kSlotButton},
                         .style = TextStyle::Value,
                         .text = "slot %u",
                         .press = PressKind::Toggle,
                         .flags = kRowNumbered,
                         .follows = slotPreset(slot),
                         .number = slot + 1};
            rows[i++] = {.kind = RowKind::MenuEx,
                         .tag = slotProgram(slot),
                         .rect = {x - 100, y, x - 46, y + 16},
                         .images = {resid::kSelectorWell},
                         .style = TextStyle::SmallValue,
                         .source = MenuSource::Programs};
            rows[i] = menuEx(slotPreset(slot), {x - 42, y, x + 112, y + 16}, resid::kBottomSelector);
            rows[i++].style = TextStyle::ValueLeft;
        }
    }
    return rows;
}

constexpr auto kSlotRows = makeSlotRows();

constexpr LayoutRow kSetlistRows[] = {
    label(at(10, 6, 200, 14), "SETLIST", 0, TextStyle::Heading),
    label(at(10, 20, 300, 14), "MIDI program change | preset", 0, TextStyle::Label),
    label(at(10, 44, 100, 16), "active setlist :"),
    menu(kActiveSetlist, at(112, 44, 90, 16)),
    label(at(220, 44, 80, 16), "description :"),
    {.kind = RowKind::Field,
     .tag = kSetlistName,
     .rect = at(302, 44, 176, 16),
     .images = {resid::kFieldWell},
     .style = TextStyle::Value,
     .edit = FieldKind::OwnText,
     .maxLength = 32},
    label(at(10, 68, 100, 16), "preset display :"),
    menu(kPresetDisplay, at(112, 68, 130, 16), resid::kBottomSelector),
    lamp(etag::kDisplay, at(302, 70, 12, 12), resid::kLamp, Role::SetlistFlag),
    label(at(318, 68, 120, 16), "marked setlist"),
    {.kind = RowKind::Panel, .tag = kTagNone, .rect = {24, 112, 576, 500}, .children = kSlotRows},
};
static_assert(rowsFit(kSetlistRows));

} // namespace

std::span<const LayoutRow> setlistTabRows() {
    return kSetlistRows;
}

} // namespace layout
