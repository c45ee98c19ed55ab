#include "toolkit/controls/halvorn_threshold_meter.h"

#include "toolkit/controls/meter_drawing.h"
#include "toolkit/draw_context.h"
#include "toolkit/palette.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr CCColour kBelow = palette::kEmber;
constexpr CCColour kAbove = palette::kAmberHigh;
constexpr CCColour kMark = palette::kCream;

} // namespace

CHalvornThresholdCMeter::CHalvornThresholdCMeter(int32_t tag, int32_t left, int32_t top, int32_t right,
                                                 int32_t bottom, int32_t backgroundId, int32_t minimum,
                                                 int32_t maximum, int32_t threshold, CCPageObject* listener,
                                                 uint16_t groupMask)
    : CCMarkScale(tag, left, top, right, bottom, backgroundId, minimum, maximum, threshold, listener,
                  groupMask),
      level(minimum) {}

int32_t CHalvornThresholdCMeter::columnFor(int32_t v) const {
    const CCRect s = scaleRect();
    return s.left + meterFill(v, minimum, maximum, s.width() - 1);
}

int32_t CHalvornThresholdCMeter::valueAtColumn(int32_t x) const {
    const CCRect s = scaleRect();
    if (s.width() <= 1) return minimum;
    const double share = double(x - s.left) / (s.width() - 1);
    return std::clamp(minimum + int32_t(std::lround(share * (int64_t(maximum) - minimum))), minimum, maximum);
}

void CHalvornThresholdCMeter::drawContent(CCDrawContext& ctx) {
    const CCRect s = scaleRect();
    drawWell(ctx);
    const int32_t levelX = columnFor(level) + (level > minimum ? 1 : 0);
    const int32_t markX = columnFor(value);
    const CCRect bar{s.left, s.top + 3, levelX, s.bottom - 3};
    ctx.fillRect({bar.left, bar.top, std::min(bar.right, markX), bar.bottom}, kBelow);
    if (bar.right > markX) ctx.fillRect({markX, bar.top, bar.right, bar.bottom}, kAbove);
    ctx.fillRect({markX, s.top, markX + 1, s.bottom}, kMark);
    ctx.fillRect({markX - 2, s.top, markX + 3, s.top + 2}, kMark);
}

bool CHalvornThresholdCMeter::takeReading(int32_t reading) {
    const int32_t next = std::clamp(reading, minimum, maximum);
    if (next == level) return false;
    level = next;
    return true;
}
