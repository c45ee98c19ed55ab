// The progress panel of backup and restore: a box in the middle of the window
// with a caption and a bar counting the presets.
#include "editor/layout/row_helpers.h"

namespace layout {
namespace {

using namespace rows;

constexpr LayoutRow kBoxRows[] = {
    label(at(0, 8, 200, 14), "Moving presets, please wait...", 0, TextStyle::Message),
    {.kind = RowKind::Progress,
     .tag = etag::kDisplay,
     .rect = at(0, 30, 200, 8),
     .images = {resid::kProgressTrack, resid::kProgressFill},
     .progressMaximum = 100,
     .role = Role::ProgressBar},
};

constexpr LayoutRow kProgressRows[] = {
    {.kind = RowKind::Panel,
     .tag = kTagNone,
     .rect = at(220, 300, 200, 48),
     .images = {resid::kBusyPanel},
     .children = kBoxRows},
};
static_assert(rowsFit(kProgressRows));

} // namespace

std::span<const LayoutRow> progressRows() {
    return kProgressRows;
}

} // namespace layout
