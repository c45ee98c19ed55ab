#include "toolkit/controls/halvorn_filter_freq_meter.h"

#include "toolkit/draw_context.h"
#include "toolkit/palette.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kWheelRatio = 1.0594630943592953; // a twelfth of an octave
constexpr CCColour kNeedle = palette::kAmber;
constexpr CCColour kNeedleGlow = palette::withAlpha(palette::kAmber, 90);
constexpr CCColour kMark = palette::kCream;

} // namespace

CHalvornFilterFreqMeter::CHalvornFilterFreqMeter(int32_t tag, int32_t left, int32_t top, int32_t right,
                                                 int32_t bottom, int32_t backgroundId, int32_t minimumHz,
                                                 int32_t maximumHz, int32_t markHz, CCPageObject* listener,
                                                 uint16_t groupMask)
    : CCMarkScale(tag, left, top, right, bottom, backgroundId, std::max(minimumHz, 1),
                  std::max(maximumHz, minimumHz + 1), markHz, listener, groupMask) {}

int32_t CHalvornFilterFreqMeter::columnFor(int32_t hz) const {
    const CCRect s = scaleRect();
    const double f = std::clamp(hz, minimum, maximum);
    const double share = std::log(f / minimum) / std::log(double(maximum) / minimum);
    return s.left + int32_t(std::lround(share * (s.width() - 1)));
}

int32_t CHalvornFilterFreqMeter::valueAtColumn(int32_t x) const {
    const CCRect s = scaleRect();
    if (s.width() <= 1) return minimum;
    const double share = std::clamp(double(x - s.left) / (s.width() - 1), 0.0, 1.0);
    const double hz = minimum * std::pow(double(maximum) / minimum, share);
    return std::clamp(int32_t(std::lround(hz)), minimum, maximum);
}

void CHalvornFilterFreqMeter::drawContent(CCDrawContext& ctx) {
    const CCRect s = scaleRect();
    drawWell(ctx);
    if (live > 0) {
        const int32_t x = columnFor(live);
        ctx.fillRect({x - 2, s.top, x + 3, s.bottom}, kNeedleGlow);
        ctx.fillRect({x, s.top, x + 1, s.bottom}, kNeedle);
    }
    const int32_t markX = columnFor(value);
    ctx.fillRect({markX, s.top, markX + 1, s.bottom}, kMark);
    ctx.fillRect({markX - 2, s.bottom - 2, markX + 3, s.bottom}, kMark);
}

int32_t CHalvornFilterFreqMeter::wheelValue(bool up) const {
    int32_t next = int32_t(std::lround(value * (up ? kWheelRatio : 1 / kWheelRatio)));
    // Low frequencies still move by at least one hertz.
    if (next == value) next += up ? 1 : -1;
    return next;
}

bool CHalvornFilterFreqMeter::takeReading(int32_t hz) {
    const int32_t next = hz > 0 ? std::clamp(hz, minimum, maximum) : 0;
    if (next == live) return false;
    live = next;
    return true;
}
