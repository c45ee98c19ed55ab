// One filter's panel, in filter 1's tags: the heel and toe values, type and
// taper, the control mode and its four sub-panels. The builder makes it twice;
// filter 2's parameter tags are these plus 39, its swap command is 202 and its
// handle pictures are the second images.
#include "editor/layout/row_helpers.h"
#include "model/pedal_parameters.h"

namespace layout {
namespace {

using namespace rows;
using namespace ptag;

constexpr int32_t kSubPanelTop = 108;
constexpr CCRect kSubPanel{4, kSubPanelTop, 286, 280};

constexpr LayoutRow kPedalRows[] = {
    label(at(5, 8, 270, 14), "The treadle sweeps the filter from heel to toe.", 0, TextStyle::Message),
    label(at(5, 24, 270, 14), "Choose where the sweep comes from:", 0, TextStyle::Message),
    label(at(5, 51, 60, 16), "SOURCE"),
    menu(kControlSource, at(68, 51, 150, 16), resid::kBottomSelector),
};

// The LFO: sync, tempo and shape with the waveform on the left, the rates below
// it, and the knobs in two columns on the right.
constexpr int32_t kLfoKnobX1 = 172;
constexpr int32_t kLfoKnobX2 = 230;
constexpr LayoutRow kLfoRows[] = {
    label(at(2, 4, 32, 16), "SYNC"),
    menuEx(kSyncSource, at(36, 4, 90, 16), resid::kSelectorWell),
    label(at(2, 23, 32, 16), "TEMPO"),
    field(kTempo, at(36, 23, 44, 16)),
    label(at(82, 23, 40, 16), "BPM", kTempo),
    label(at(2, 42, 32, 16), "SHAPE"),
    menu(kLfoShape, at(36, 42, 90, 16)),
    {.kind = RowKind::LfoDisplay, .rect = {0, 62, 160, 90}},
    label(at(2, 96, 32, 16), "RATE"),
    field(kLfoRate, at(36, 96, 44, 16)),
    menu(kRateMultiplier, at(84, 96, 50, 16)),
    label(at(2, 116, 32, 16), "RATE 2"),
    field(kLfoRate2, at(36, 116, 44, 16)),
    menu(kRateMultiplier2, at(84, 116, 50, 16)),
    toggle(kDualRate, 6, 146),
    label(at(34, 144, 40, 16), "DUAL"),
    toggle(kLfoGlide, 80, 146),
    label(at(108, 144, 40, 16), "GLIDE"),
    knobLabel(kLfoKnobX1, 14, "DEPTH", kLfoDepth),
    pot(kLfoDepth, kLfoKnobX1, 14),
    knobLabel(kLfoKnobX2, 14, "PHASE", kLfoPhase),
    pot(kLfoPhase, kLfoKnobX2, 14),
    knobLabel(kLfoKnobX1, 70, "RISE", kTrapezoidRise),
    pot(kTrapezoidRise, kLfoKnobX1, 70),
    knobLabel(kLfoKnobX2, 70, "FALL", kTrapezoidFall),
    pot(kTrapezoidFall, kLfoKnobX2, 70),
    knobLabel(kLfoKnobX1, 126, "G.TIME", kLfoGlideTime),
    pot(kLfoGlideTime, kLfoKnobX1, 126),
    knobLabel(kLfoKnobX2, 126, "G.DEPTH", kLfoGlideDepth),
    pot(kLfoGlideDepth, kLfoKnobX2, 126),
};

// The envelope: two rows of five knobs, then the invert switch.
constexpr int32_t envX(int32_t k) {
    return 14 + 55 * k;
}
constexpr int32_t kEnvRow1 = 16;
constexpr int32_t kEnvRow2 = 86;
constexpr LayoutRow kEnvelopeRows[] = {
    knobLabel(envX(0), kEnvRow1, "SENS", kEnvSensitivity),
    pot(kEnvSensitivity, envX(0), kEnvRow1),
    knobLabel(envX(1), kEnvRow1, "THRESH", kEnvThreshold),
    pot(kEnvThreshold, envX(1), kEnvRow1),
    knobLabel(envX(2), kEnvRow1, "ATTACK", kEnvAttack),
    pot(kEnvAttack, envX(2), kEnvRow1),
    knobLabel(envX(3), kEnvRow1, "RELEASE", kEnvRelease),
    pot(kEnvRelease, envX(3), kEnvRow1),
    knobLabel(envX(4), kEnvRow1, "RANGE", kEnvRange),
    pot(kEnvRange, envX(4), kEnvRow1),
    knobLabel(envX(0), kEnvRow2, "LFO RATE", kEnvLfoRate),
    pot(kEnvLfoRate, envX(0), kEnvRow2),
    knobLabel(envX(1), kEnvRow2, "LFO DEPTH", kEnvLfoDepth),
    pot(kEnvLfoDepth, envX(1), kEnvRow2),
    knobLabel(envX(2), kEnvRow2, "HOLD", kEnvHold),
    pot(kEnvHold, envX(2), kEnvRow2),
    knobLabel(envX(3), kEnvRow2, "GATE", kEnvGate),
    pot(kEnvGate, envX(3), kEnvRow2),
    knobLabel(envX(4), kEnvRow2, "OFFSET", kEnvOffset),
    pot(kEnvOffset, envX(4), kEnvRow2),
    toggle(kEnvelopeInvert, 76, 157),
    label(at(104, 155, 60, 16), "INVERT"),
};

constexpr int32_t kPitchKnobs = 74;
constexpr LayoutRow kPitchRows[] = {
    label(at(5, 10, 48, 16), "MODE"),
    menu(kPitchMode, at(56, 10, 90, 16)),
    label(at(5, 32, 48, 16), "ANCHOR"),
    menu(kPitchAnchor, at(56, 32, 90, 16)),
    knobLabel(envX(0), kPitchKnobs, "RANGE", kPitchRange),
    pot(kPitchRange, envX(0), kPitchKnobs),
    knobLabel(envX(1), kPitchKnobs, "GLIDE", kPitchGlide),
    pot(kPitchGlide, envX(1), kPitchKnobs),
    knobLabel(envX(2), kPitchKnobs, "SMOOTH", kPitchSmoothing),
    pot(kPitchSmoothing, envX(2), kPitchKnobs),
};

// A handle picture with the vowel chart's orientation button over it; the
// button shows only in the vowel chart.
constexpr LayoutRow handlePicture(int32_t x, int32_t filter1Image, int32_t filter2Image) {
    return {.kind = RowKind::Picture,
            .rect = at(x, 17, 16, 16),
            .images = {filter1Image, filter2Image},
            .flags = kRowMayOverlap};
}
constexpr LayoutRow orientationButton(int32_t tag, int32_t x) {
    return button(tag, at(x, 17, 16, 16), resid::kOrientationRing, kButtonToggle, 2, Role::None,
                  kRowMayOverlap | kRowHidden);
}

constexpr LayoutRow kFilterRows[] = {
    {.kind = RowKind::Label,
     .rect = at(8, 1, 120, 14),
     .style = TextStyle::Heading,
     .text = "FILTER %d",
     .flags = kRowNumbered},
    handlePicture(5, resid::kHandle1Heel, resid::kHandle2Heel),
    orientationButton(etag::kHeelOrientation, 5),
    label(at(23, 17, 32, 16), "HEEL"),
    field(kHeelHeight, at(56, 18, 40, 16)),
    field(kHeelFrequency, at(56, 35, 40, 16)),
    button(etag::kSwapFilter1, at(97, 17, 18, 12), resid::kSwapButton, kButtonTriggerTracking, 1, Role::None,
           kRowCommandPerFilter),
    handlePicture(156, resid::kHandle1Toe, resid::kHandle2Toe),
    orientationButton(etag::kToeOrientation, 156),
    label(at(174, 17, 32, 16), "TOE"),
    field(kToeHeight, at(206, 18, 40, 16)),
    field(kToeFrequency, at(206, 35, 40, 16)),
    label(at(250, 18, 38, 16), "HEIGHT"),
    label(at(250, 35, 38, 16), "HZ"),
    label(at(5, 61, 48, 16), "TYPE"),
    menu(kFilterType, at(56, 61, 90, 16)),
    label(at(150, 61, 52, 16), "TAPER"),
    menu(kTaper, at(206, 61, 80, 16)),
    label(at(5, 87, 36, 16), "MODE"),
    {.kind = RowKind::Radio,
     .tag = kControlMode,
     .rect = at(42, 87, 172, 16),
     .images = {resid::kModePedal, resid::kModeLfo, resid::kModeEnvelope, resid::kModePitch},
     .members = 4,
     .spacing = 44,
     .flags = kRowGroupSelector},
    panel(kSubPanel, kPedalRows, 1),
    panel(kSubPanel, kLfoRows, 2),
    panel(kSubPanel, kEnvelopeRows, 4),
    panel(kSubPanel, kPitchRows, 8),
};
static_assert(rowsFit(kFilterRows));

} // namespace

std::span<const LayoutRow> filterPanelRows() {
    return kFilterRows;
}

} // namespace layout
