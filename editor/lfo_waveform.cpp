#include "editor/lfo_waveform.h"

#include "toolkit/draw_context.h"
#include "toolkit/palette.h"
#include "toolkit/toolkit.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr CCColour kLineColour = palette::kCream;
constexpr CCColour kFrameColour = palette::kFrame;
constexpr int32_t kTemplateCapacity = 5; // the largest template
constexpr int32_t kStepPoints = 12;      // six steps of two points

} // namespace

int32_t CLFOWaveform::shapeForParameter(int32_t value) {
    static constexpr int32_t kShapes[] = {kSine, kTriangle, kSquare, kSawUp, kSawDown, kTrapezoid, kRandom};
    return value >= 0 && value < 7 ? kShapes[value] : kRandom;
}

CLFOWaveform::CLFOWaveform(CCRect rect)
    : CControl(kDisplayTag, rect.left, rect.top, rect.right, rect.bottom, 0, 0) {
    allocate();
}

void CLFOWaveform::allocate() {
    inner = {bounds.left, bounds.top, bounds.right - 1, bounds.bottom - 1};
    capacity = std::max(bounds.width() - 1, 0);
    // The steps and two periods of a template need a few points whatever the width.
    const int32_t needed = std::max({capacity, kStepPoints, kTemplateCapacity * 2});
    if (needed > allocated) {
        points = std::make_unique<CCPoint[]>(size_t(needed));
        allocated = needed;
    }
    if (!templ) templ = std::make_unique<CCPoint[]>(kTemplateCapacity);
}

void CLFOWaveform::boundsChanged() {
    CControl::boundsChanged();
    allocate();
}

void CLFOWaveform::setTrapezoid(int32_t r, int32_t f) {
    rise = std::clamp(r, 0, 100);
    fall = std::clamp(f, 0, 100 - rise);
}

int32_t CLFOWaveform::buildTemplate(int32_t top, int32_t bottom) {
    CCPoint* t = templ.get();
    switch (shape) {
    case kTriangle:
        t[0] = {0, bottom};
        t[1] = {50, top};
        t[2] = {100, bottom};
        return 3;
    case kSquare:
        t[0] = {0, bottom};
        t[1] = {50, bottom};
        t[2] = {50, top};
        t[3] = {100, top};
        t[4] = {100, bottom};
        return 5;
    case kSawUp:
        t[0] = {0, bottom};
        t[1] = {100, top};
        t[2] = {100, bottom};
        return 3;
    case kSawDown:
        t[0] = {0, bottom};
        t[1] = {0, top};
        t[2] = {100, bottom};
        return 3;
    case kTrapezoid: {
        // Up over the rise, high for half the rest, down over the fall, low for the remainder.
        const int32_t rest = (100 - fall - rise) / 2;
        t[0] = {0, bottom};
        t[1] = {rise, top};
        t[2] = {rise + rest, top};
        t[3] = {rise + fall + rest, bottom};
        t[4] = {100, bottom};
        return 5;
    }
    default:
        return 0;
    }
}

std::span<const CCPoint> CLFOWaveform::computePoints() {
    const int32_t top = inner.top + 4;
    const int32_t bottom = inner.bottom - 4;
    // A frame too small for the margins gets a flat line, not a wrapped height.
    const uint32_t span = bottom > top ? uint32_t(bottom - top) : 0;
    const int32_t half = int32_t(span / 2);
    const int32_t middle = top + half;
    const int32_t x0 = inner.left + 2;
    const int32_t width = inner.right - inner.left - 3;
    CCPoint* p = points.get();
    pointCount = 0;
    templateCount = 0;

    if (shape == kSine) {
        // Starts at the middle and rises first (screen y grows downwards).
        for (int32_t i = 0; i < capacity; ++i) {
            const float angle = float(i) * 6.2831855f * float(periods) / float(capacity);
            p[i] = {x0 + i, int32_t(float(middle) - std::sin(angle) * float(half) + 0.5f)};
        }
        pointCount = capacity;
    } else if (shape == kRandom) {
        // A fixed pattern of six levels stands for a random wave.
        const int32_t step = int32_t(float(width) / 6.0f);
        const int32_t third = 2 * half / 3;
        const int32_t levels[6] = {
            top, middle, bottom - int32_t(span / 4), top + third / 2, bottom - third / 2, middle};
        for (int32_t i = 0; i < 6; ++i) {
            p[2 * i] = {x0 + i * step, levels[i]};
            p[2 * i + 1] = {x0 + (i + 1) * step, levels[i]};
        }
        pointCount = kStepPoints;
    } else {
        templateCount = buildTemplate(top, bottom);
        const int32_t period = width / periods;
        for (int32_t k = 0; k < periods; ++k)
            for (int32_t j = 0; j < templateCount; ++j)
                p[pointCount++] = {k * period + templ[j].x * period / 100 + x0, templ[j].y};
    }
    return {p, size_t(pointCount)};
}

void CLFOWaveform::drawContent(CCDrawContext& ctx) {
    std::span<const CCPoint> line = computePoints();
    // The antialiased line of a hundred and more segments is the page's
    // costliest drawing: a compose that finds the same wave over the same
    // pixels copies what it drew last time.
    // The key: all the drawing depends on besides the pixels under it (the
    // colours are constants; plots lose their antialiasing in the fast mode).
    std::vector<int32_t> key{ctx.opacity(), fastPlots() ? 1 : 0, inner.left,
                             inner.top,     inner.right,         inner.bottom};
    key.reserve(key.size() + 2 * line.size());
    for (const CCPoint& p : line) {
        key.push_back(p.x);
        key.push_back(p.y);
    }
    memo.draw(ctx, bounds, std::move(key), [&] {
        CCDrawStateSaver saver(ctx);
        ctx.setPen(kLineColour, 2.0f);
        ctx.drawLines(line);
        const CCPoint frame[] = {{inner.left, inner.top},
                                 {inner.right, inner.top},
                                 {inner.right, inner.bottom},
                                 {inner.left, inner.bottom},
                                 {inner.left, inner.top}};
        ctx.setPen(kFrameColour, 1.0f);
        ctx.drawLines(frame);
    });
}
