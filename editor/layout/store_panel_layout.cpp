// The store panel that the store button opens: the user slot, the preset's
// three-letter name and its description, and the two buttons that end it.
#include "editor/layout/row_helpers.h"

namespace layout {
namespace {

using namespace rows;

constexpr LayoutRow textEntry(int32_t tag, CCRect r, int32_t characters) {
    return {.kind = RowKind::Field,
            .tag = tag,
            .rect = r,
            .images = {resid::kFieldWell},
            .style = TextStyle::Value,
            .edit = FieldKind::OwnText,
            .maxLength = characters};
}

constexpr LayoutRow captionButton(int32_t tag, int32_t x, const char* caption) {
    return {.kind = RowKind::TextButton,
            .tag = tag,
            .rect = at(x, 104, 56, 14),
            .images = {resid::kSlotButton},
            .style = TextStyle::Value,
            .text = caption};
}

constexpr LayoutRow kStoreRows[] = {
    label(at(12, 8, 200, 14), "STORE PRESET", 0, TextStyle::Heading),
    label(at(12, 32, 70, 16), "user slot :"),
    menuEx(kStoreSlotTag, at(84, 32, 180, 16), resid::kBottomSelector),
    label(at(12, 56, 70, 16), "name :"),
    textEntry(kStoreNameTag, at(84, 56, 48, 16), 3),
    label(at(12, 80, 70, 16), "description :"),
    textEntry(kStoreDescriptionTag, at(84, 80, 176, 16), 20),
    captionButton(etag::kStorePreset, 144, "Store"),
    captionButton(etag::kRefreshPresetList, 208, "Cancel"),
};
static_assert(rowsFit(kStoreRows));

} // namespace

std::span<const LayoutRow> storePanelRows() {
    return kStoreRows;
}

} // namespace layout
