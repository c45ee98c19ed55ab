// The MIDI tab (tab group 4): the receive and thru channels, and for each of the
// two MIDI controls its channel, whether it is on, and its controller.
#include "editor/layout/row_helpers.h"
#include "model/pedal_parameters.h"

namespace layout {
namespace {

using namespace rows;
using namespace ptag;

constexpr LayoutRow kMidiRows[] = {
    label(at(10, 6, 200, 14), "MIDI", 0, TextStyle::Heading),
    label(at(40, 43, 110, 16), "receive channel :"),
    menu(kMidiChannel, at(152, 43, 90, 16)),
    label(at(340, 43, 110, 16), "midi thru :"),
    menu(kMidiChannelC, at(452, 43, 90, 16)),
    label(at(40, 69, 110, 16), "channel A :"),
    menu(kMidiChannelA, at(152, 69, 90, 16)),
    toggle(kMidiEnableA, 250, 71),
    label(at(278, 69, 40, 16), "on"),
    label(at(340, 69, 82, 16), "controller A :"),
    {.kind = RowKind::MenuEx,
     .tag = kMidiControllerA,
     .rect = at(424, 69, 176, 16),
     .images = {resid::kFieldWell},
     .style = TextStyle::Value,
     .source = MenuSource::Controllers},
    label(at(40, 95, 110, 16), "channel B :"),
    menu(kMidiChannelB, at(152, 95, 90, 16)),
    toggle(kMidiEnableB, 250, 97),
    label(at(278, 95, 40, 16), "on"),
    label(at(340, 95, 82, 16), "controller B :"),
    {.kind = RowKind::MenuEx,
     .tag = kMidiControllerB,
     .rect = at(424, 95, 176, 16),
     .images = {resid::kFieldWell},
     .style = TextStyle::Value,
     .source = MenuSource::Controllers},
};
static_assert(rowsFit(kMidiRows));

} // namespace

std::span<const LayoutRow> midiTabRows() {
    return kMidiRows;
}

} // namespace layout
