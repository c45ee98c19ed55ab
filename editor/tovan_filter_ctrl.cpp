#include "editor/tovan_filter_ctrl.h"

#include "platform/trace.h"
#include "resources/resource_ids.h"
#include "toolkit/bitmap_registry.h"
#include "toolkit/cursor.h"
#include "toolkit/draw_context.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr int32_t kCursorDrag = 302;

// The reference vowels (lower formant F1, upper formant F2), in the order the
// orientation search tries them.
struct Formants {
    float f1;
    float f2;
};
constexpr Formants kReferenceVowels[] = {
    {300, 2700}, {800, 1200}, {600, 800},  {350, 800},  {800, 2000},
    {400, 2500}, {600, 2300}, {500, 1100}, {750, 1400}, {500, 1600},
};

constexpr int32_t kImageIds[8] = {resid::kHandle1Heel, resid::kHandle1Toe, resid::kHandle2Heel,
                                  resid::kHandle2Toe,  resid::kPathDot1,   resid::kPathDot2,
                                  resid::kMarker1,     resid::kMarker2};

// The value slot a set target writes.
int32_t slotOf(int32_t target) {
    if (target <= 12) return (target - 1) / 3;
    return target - 9; // 13 -> 4 ... 16 -> 7
}

// NaN has no place on a chart; it counts as the low end.
float clampValue(float v, float lo, float hi) {
    if (std::isnan(v)) return lo;
    return std::clamp(v, lo, hi);
}

// base + trunc(offset), kept inside [lo, hi] before it becomes an integer.
int32_t toPixel(int32_t base, float offset, int32_t lo, int32_t hi) {
    float p = float(base) + std::trunc(offset);
    if (std::isnan(p)) return lo;
    return int32_t(std::clamp(p, float(lo), float(hi)));
}

uint32_t squaredDistance(float d1, float d2) {
    double d = std::trunc(double(d1) * d1 + double(d2) * d2);
    return d >= double(UINT32_MAX) ? UINT32_MAX : uint32_t(d);
}

// i^e rescaled from 7e bits to 16 bits, rounded. 128 to the tenth power needs
// 71 bits, so the power is taken in 128-bit arithmetic.
uint64_t scaledPower(uint64_t i, int32_t e) {
    unsigned __int128 p = 1;
    for (int32_t k = 0; k < e; ++k)
        p *= i;
    const int32_t bits = 7 * e;
    if (bits > 16) {
        const int32_t s = bits - 16;
        p = (p + (static_cast<unsigned __int128>(1) << (s - 1))) >> s;
    } else {
        p <<= (16 - bits);
    }
    return uint64_t(p);
}

} // namespace

CTovanFilterCtrl::CTovanFilterCtrl(CCPoint position, CCRect plotRect)
    : CControl(kDisplayTag, position.x, position.y, position.x, position.y, 0, 0), plot(plotRect) {
    sweepBackground = acquireBitmap(resid::kSweepChart);
    vowelBackground = acquireBitmap(resid::kVowelChart);
    backgroundImage = sweepBackground;
    for (size_t i = 0; i < images.size(); ++i) {
        images[i] = acquireBitmap(kImageIds[i]);
        if (images[i]) hotspots[i] = {(images[i]->getWidth() + 1) / 2, (images[i]->getHeight() + 1) / 2};
    }
    if (backgroundImage) {
        bounds = CCRect::fromSize(position, backgroundImage->getWidth(), backgroundImage->getHeight());
        offscreen = CCDrawContext::createOffscreen(backgroundImage->getWidth(), backgroundImage->getHeight());
        // Its drawing copies its composition over the whole of its bounds:
        // nothing behind it shows.
        setOpaque(offscreen != nullptr);
    }
    setCurve(0, 0);
    setCurve(1, 0);
    imageDirty = 1;
    sweepScaleX = float(plot.right - plot.left) * (1.0f / 3990);
    sweepScaleY = float(plot.bottom - plot.top) * (1.0f / 100);
    vowelScaleX = float(plot.right - plot.left) * (1.0f / 3190);
    vowelScaleY = float(plot.bottom - plot.top) * (1.0f / 1190);
    int32_t growX = 0, growY = 0;
    for (CCPoint h : hotspots) {
        growX = std::max(growX, h.x);
        growY = std::max(growY, h.y);
    }
    updateRect = {plot.left - growX, plot.top - growY, plot.right + growX, plot.bottom + growY};
}

CTovanFilterCtrl::~CTovanFilterCtrl() {
    for (CCBitmap* b : images)
        if (b) releaseBitmap(b);
    if (sweepBackground) releaseBitmap(sweepBackground);
    if (vowelBackground) releaseBitmap(vowelBackground);
}

CTovanFilterCtrl::CurveTable CTovanFilterCtrl::buildCurveTable(int32_t code) {
    const int32_t c = std::clamp(code, -17, 17);
    const int32_t m = std::abs(c);
    const int32_t e1 = m / 2 + 1;
    const bool twoExponents = m % 2 == 1;
    CurveTable table{};
    for (uint64_t i = 1; i <= 128; ++i) {
        uint64_t p = scaledPower(i, e1);
        // Odd codes sit halfway between two whole exponents.
        if (twoExponents) p = (p + scaledPower(i, e1 + 1) + 1) >> 1;
        p = std::min<uint64_t>(p, 65535);
        if (c > 0) p = 65535 - p;
        if (p == 0) p = 1;
        table[c > 0 ? 128 - i : i] = uint16_t(p);
    }
    table[0] = 0;
    table[128] = 65535;
    return table;
}

CCPoint CTovanFilterCtrl::sweepPixel(float first, float second) const {
    return {toPixel(plot.left, (first - 10.0f) * sweepScaleX, plot.left, plot.right),
            toPixel(plot.bottom, -(second * sweepScaleY), plot.top, plot.bottom)};
}

CCPoint CTovanFilterCtrl::vowelPixel(float fa, float fb, bool orientation) const {
    const float h = orientation ? fa : fb;
    const float v = orientation ? fb : fa;
    return {toPixel(plot.left, (h - 10.0f) * vowelScaleX, plot.left, plot.right),
            toPixel(plot.bottom, -((v - 10.0f) * vowelScaleY), plot.top, plot.bottom)};
}

bool CTovanFilterCtrl::setPoint(int32_t target, float first, float second, bool force) {
    if (target < 1 || target > 16) return false;
    const int32_t slot = slotOf(target);
    if (target == kHeelVowel || target == kToeVowel) {
        const bool upper = target == kHeelVowel ? heelOrientation : toeOrientation;
        first = clampValue(first, 10, upper ? 3200 : 1200);
        second = clampValue(second, 10, upper ? 1200 : 3200);
    } else {
        // A live position below 10 Hz means the filter is idle: the marker hides.
        const bool hideMarker = (target == kMarker1 || target == kMarker2) && !(first >= 10);
        first = clampValue(first, 10, 4000);
        second = clampValue(second, 0, 100);
        if (hideMarker) first = 0;
    }
    const CCValuePair stored = values[slot];
    if (target <= 12) {
        const int32_t part = (target - 1) % 3;
        if (part == 1) second = stored.second;
        if (part == 2) first = stored.first;
    }
    const CCValuePair pair{first, second};
    if (!force && pair == stored) return false;
    values[slot] = pair;
    const bool marker = target == kMarker1 || target == kMarker2;
    if (!marker) imageDirty = 1;

    // The sweep handles and the vowel points show the same four frequencies.
    if (target == kHeelVowel || target == kToeVowel) {
        values[kSlot1Heel].first = values[kSlotHeel].first;
        values[kSlot2Heel].first = values[kSlotHeel].second;
        values[kSlot1Toe].first = values[kSlotToe].first;
        values[kSlot2Toe].first = values[kSlotToe].second;
    } else {
        values[kSlotHeel] = {values[kSlot1Heel].first, values[kSlot2Heel].first};
        values[kSlotToe] = {values[kSlot1Toe].first, values[kSlot2Toe].first};
    }

    if (marker) {
        placeMarkers();
    } else if (viewMode == kSweepChart) {
        if (target <= 12) {
            placeHandle(slot);
        } else {
            // A vowel point moves both filters' handles at its end.
            placeHandle(target == kHeelVowel ? kSlot1Heel : kSlot1Toe);
            placeHandle(target == kHeelVowel ? kSlot2Heel : kSlot2Toe);
        }
    } else {
        const bool heel = target == kHeelVowel || slot == kSlot1Heel || slot == kSlot2Heel;
        placeVowelPoint(heel ? 0 : 1);
    }
    return true;
}

CCValuePair CTovanFilterCtrl::getPoint(int32_t id) const {
    switch (id) {
    case kFilter1Heel:
    case kFilter1Toe:
    case kFilter2Heel:
    case kFilter2Toe:
    case kHeelVowel:
    case kToeVowel:
        return values[slotOf(id)];
    default:
        return {};
    }
}

void CTovanFilterCtrl::placeHandle(int32_t slot) {
    const CCValuePair& v = values[slot];
    const CCPoint p = sweepPixel(v.first, v.second);
    drawPositions[slot] = {p.x - hotspots[slot].x, p.y - hotspots[slot].y};
    const CCBitmap* b = images[slot];
    hitRects[slot] =
        b ? CCRect::fromSize({drawPositions[slot].x + bounds.left, drawPositions[slot].y + bounds.top},
                             b->getWidth(), b->getHeight())
          : CCRect{};
}

void CTovanFilterCtrl::placeVowelPoint(int32_t end) {
    const bool upper = end == 0 ? heelOrientation : toeOrientation;
    const CCValuePair& v = values[end == 0 ? kSlotHeel : kSlotToe];
    // The point wears filter 2's handle when filter 1 plays the upper formant.
    const int32_t image = end == 0 ? (upper ? kImg2Heel : kImg1Heel) : (upper ? kImg2Toe : kImg1Toe);
    const CCPoint p = vowelPixel(v.first, v.second, upper);
    drawPositions[end] = {p.x - hotspots[image].x, p.y - hotspots[image].y};
    const CCBitmap* b = images[image];
    hitRects[end] =
        b ? CCRect::fromSize({drawPositions[end].x + bounds.left, drawPositions[end].y + bounds.top},
                             b->getWidth(), b->getHeight())
          : CCRect{};
}

void CTovanFilterCtrl::placeMarkers() {
    CCPoint p1, p2;
    if (viewMode == kSweepChart) {
        p1 = sweepPixel(values[kSlotMarker1].first, values[kSlotMarker1].second);
        p2 = sweepPixel(values[kSlotMarker2].first, values[kSlotMarker2].second);
    } else {
        // One live vowel: both orientations of the two live frequencies.
        p1 = vowelPixel(values[kSlotMarker1].first, values[kSlotMarker2].first, false);
        p2 = vowelPixel(values[kSlotMarker1].first, values[kSlotMarker2].first, true);
    }
    drawPositions[4] = {p1.x - hotspots[kImgMarker1].x + bounds.left,
                        p1.y - hotspots[kImgMarker1].y + bounds.top};
    drawPositions[5] = {p2.x - hotspots[kImgMarker2].x + bounds.left,
                        p2.y - hotspots[kImgMarker2].y + bounds.top};
}

void CTovanFilterCtrl::placeAll() {
    if (viewMode == kSweepChart) {
        for (int32_t slot = kSlot1Heel; slot <= kSlot2Toe; ++slot)
            placeHandle(slot);
    } else {
        placeVowelPoint(0);
        placeVowelPoint(1);
        hitRects[2] = hitRects[3] = {};
    }
    placeMarkers();
}

void CTovanFilterCtrl::boundsChanged() {
    CControl::boundsChanged();
    // Hit rectangles and marker positions are page coordinates.
    placeAll();
}

void CTovanFilterCtrl::setViewMode(int32_t mode) {
    if ((mode != kSweepChart && mode != kVowelChart) || mode == viewMode) return;
    viewMode = mode;
    backgroundImage = mode == kSweepChart ? sweepBackground : vowelBackground;
    values = {};
    imageDirty = 1;
    placeAll();
}

void CTovanFilterCtrl::setCurve(int32_t filter, int32_t code) {
    if (filter != 0 && filter != 1) {
        tovanTrace("invalid filter setCurve %d\n", filter);
        return;
    }
    const int8_t c = int8_t(std::clamp(code, -17, 17));
    if (c == curveCodes[filter]) return;
    curveCodes[filter] = c;
    imageDirty = 1;
    tables[filter] = buildCurveTable(c);
}

void CTovanFilterCtrl::setShown(Shown shown) {
    const bool filter1 = shown.filter1;
    const bool filter2 = shown.filter2;
    if (filter1 != (filter1Shown != 0) || filter2 != (filter2Shown != 0)) imageDirty = 1;
    filter1Shown = filter1;
    filter2Shown = filter2;
    vowelShown = filter1 && filter2;
}

void CTovanFilterCtrl::setOrientation(int32_t end, bool flag) {
    if (end != 0 && end != 1) {
        tovanTrace("invalid end setOrientation %d\n", end);
        return;
    }
    (end == 0 ? heelOrientation : toeOrientation) = flag;
    // Re-placing the frequencies moves the vowel point to its new axes.
    if (end == 0) {
        setPoint(2, values[kSlot1Heel].first, 0, true);
        setPoint(8, values[kSlot2Heel].first, 0, true);
    } else {
        setPoint(5, values[kSlot1Toe].first, 0, true);
        setPoint(11, values[kSlot2Toe].first, 0, true);
    }
    imageDirty = 1;
}

void CTovanFilterCtrl::updateVowelOrientation() {
    if (viewMode != kVowelChart) return;
    // True when the nearest reference vowel is reached with filter 1 as the upper formant.
    auto filter1Upper = [](float a, float b) {
        uint32_t best = UINT32_MAX;
        bool swapped = false;
        for (const Formants& v : kReferenceVowels) {
            const uint32_t d1 = squaredDistance(v.f1 - a, v.f2 - b);
            if (d1 < best) {
                best = d1;
                swapped = false;
            }
            const uint32_t d2 = squaredDistance(v.f1 - b, v.f2 - a);
            if (d2 < best) {
                best = d2;
                swapped = true;
            }
        }
        return swapped;
    };
    heelOrientation = filter1Upper(values[kSlot1Heel].first, values[kSlot2Heel].first);
    setPoint(2, values[kSlot1Heel].first, 0, true);
    setPoint(8, values[kSlot2Heel].first, 0, true);
    toeOrientation = filter1Upper(values[kSlot1Toe].first, values[kSlot2Toe].first);
    setPoint(5, values[kSlot1Toe].first, 0, true);
    setPoint(11, values[kSlot2Toe].first, 0, true);
    imageDirty = 1;
}

bool CTovanFilterCtrl::takeChanged() {
    const bool changed = valuesChanged != 0;
    valuesChanged = 0;
    return changed;
}

bool CTovanFilterCtrl::setLivePositions(uint16_t frequency1, uint8_t height1, uint16_t frequency2,
                                        uint8_t height2) {
    const bool moved1 = setPoint(kMarker1, frequency1, height1);
    const bool moved2 = setPoint(kMarker2, frequency2, height2);
    if (!moved1 && !moved2) return false;
    invalidate(false);
    return true;
}

void CTovanFilterCtrl::setEnabled(bool on, uint8_t opacityValue) {
    imageDirty = 1;
    CControl::setEnabled(on, opacityValue);
}

int32_t CTovanFilterCtrl::handleAt(CCPoint point) const {
    struct Candidate {
        int32_t id;
        int32_t rect;
    };
    Candidate candidates[4];
    int32_t count = 0;
    if (viewMode == kSweepChart) {
        if (filter1Shown) {
            candidates[count++] = {kFilter1Heel, 0};
            candidates[count++] = {kFilter1Toe, 1};
        }
        if (filter2Shown) {
            candidates[count++] = {kFilter2Heel, 2};
            candidates[count++] = {kFilter2Toe, 3};
        }
    } else if (vowelShown) {
        candidates[count++] = {kHeelVowel, 0};
        candidates[count++] = {kToeVowel, 1};
    }
    int32_t found = 0;
    int64_t best = INT64_MAX;
    for (int32_t i = 0; i < count; ++i) {
        const CCRect& r = hitRects[candidates[i].rect];
        if (!r.contains(point)) continue;
        const int64_t dx = int64_t(r.left) + r.right - 2 * int64_t(point.x);
        const int64_t dy = int64_t(r.top) + r.bottom - 2 * int64_t(point.y);
        const int64_t d = dx * dx + dy * dy;
        // Strictly nearer only: on a tie the earlier handle stays.
        if (d < best) {
            best = d;
            found = candidates[i].id;
        }
    }
    return found;
}

bool CTovanFilterCtrl::hitTest(CCPoint point) const {
    return handleAt(point) != 0;
}

int32_t CTovanFilterCtrl::cursorAt(int32_t x, int32_t y) {
    return handleAt({x, y}) != 0 ? kCursorDrag : kCursorArrow;
}

bool CTovanFilterCtrl::onControlMouse(CCMouseMsg& msg) {
    if (!isEnabled()) return false;
    switch (msg.code) {
    case kMsgLeftDown: {
        const int32_t handle = handleAt({msg.x, msg.y});
        if (handle == 0) return false;
        dragHandle = handle;
        screenOffset = {msg.screenX - msg.x, msg.screenY - msg.y};
        captureMouse(true);
        hideCursorAt(window(), msg.screenX, msg.screenY);
        anchor = {msg.screenX, msg.screenY};
        return true;
    }
    case kMsgMouseMove: {
        if (!hasCapture() || dragHandle == 0) return false;
        const CCPoint d = dragDelta(msg);
        if (d.x == 0 && d.y == 0) return false;
        // The cursor stays put while the handle moves, so the screen edge never stops a drag.
        setCursorPos(window(), anchor.x, anchor.y);
        CCValuePair v = getPoint(dragHandle);
        if (dragHandle == kHeelVowel || dragHandle == kToeVowel) {
            const bool upper = dragHandle == kHeelVowel ? heelOrientation : toeOrientation;
            if (upper) {
                v.first += 10.0f * float(d.x);
                v.second -= 10.0f * float(d.y);
            } else {
                v.second += 10.0f * float(d.x);
                v.first -= 10.0f * float(d.y);
            }
        } else {
            v.first += 10.0f * float(d.x);
            v.second -= float(d.y);
        }
        if (setPoint(dragHandle, v.first, v.second, false)) valuesChanged = 1;
        invalidate(false);
        return true;
    }
    case kMsgLeftUp: {
        const int32_t handle = dragHandle;
        dragHandle = 0;
        if (!hasCapture()) return false;
        captureMouse(false);
        int32_t hit = 0;
        switch (handle) {
        case kFilter1Toe:
        case kToeVowel:
            hit = 1;
            break;
        case kFilter2Heel:
            hit = 2;
            break;
        case kFilter2Toe:
            hit = 3;
            break;
        default:
            break;
        }
        // The cursor comes back over the handle it moved.
        const CCRect& r = hitRects[hit];
        showCursorAt(window(), (r.left + r.right) / 2 + screenOffset.x,
                     (r.top + r.bottom) / 2 + screenOffset.y);
        return true;
    }
    default:
        return false;
    }
}

std::vector<CTovanFilterCtrl::PathDot> CTovanFilterCtrl::pathDots(int32_t filter) const {
    std::vector<PathDot> dots;
    const int32_t f = filter == 0 ? 0 : 1;
    const CCValuePair& heel = values[f == 0 ? kSlot1Heel : kSlot2Heel];
    const CCValuePair& toe = values[f == 0 ? kSlot1Toe : kSlot2Toe];
    const CCPoint p0 = sweepPixel(heel.first, heel.second);
    const CCPoint p1 = sweepPixel(toe.first, toe.second);
    const int64_t dx = p1.x - p0.x, dy = p1.y - p0.y;
    const uint32_t length = uint32_t(std::sqrt(double(dx * dx + dy * dy)));
    const int32_t spacing = hotspots[f == 0 ? kImgDot1 : kImgDot2].x;
    // Without a dot image there is nothing to space the dots by.
    if (spacing <= 0) return dots;
    const uint32_t n = 2 * length / uint32_t(spacing);
    if (n == 0) return dots;
    const float df = (toe.first - heel.first) / float(n);
    const float dh = (toe.second - heel.second) / float(n);
    const CurveTable& table = tables[f];
    dots.reserve(n);
    for (uint32_t i = 0; i < n; ++i) {
        const uint32_t k = 128 * i / n;
        const int32_t slope = int32_t(table[k + 1]) - int32_t(table[k]);
        // The linear slope (512 a step) gives 48; steep parts brighten, flat parts fade.
        const int32_t alpha = std::clamp(((slope - 511) >> 3) + 48, 16, 96);
        dots.push_back({sweepPixel(heel.first + df * float(i), heel.second + dh * float(i)), alpha});
    }
    return dots;
}

void CTovanFilterCtrl::drawCentred(CCDrawContext& ctx, int32_t image, CCPoint centre) {
    if (!images[image]) return;
    ctx.drawBitmap(*images[image], {centre.x - hotspots[image].x, centre.y - hotspots[image].y});
}

void CTovanFilterCtrl::drawPath(int32_t filter) {
    const int32_t image = filter == 0 ? kImgDot1 : kImgDot2;
    if (!images[image]) return;
    const uint8_t base = offscreen->opacity();
    for (const PathDot& dot : pathDots(filter)) {
        offscreen->setOpacity(uint8_t(base * dot.alpha / 255));
        drawCentred(*offscreen, image, dot.centre);
    }
    offscreen->setOpacity(base);
}

void CTovanFilterCtrl::compose(uint8_t opacityValue) {
    CCDrawContext& off = *offscreen;
    CCDrawStateSaver saver(off);
    off.setOpacity(255);
    if (backgroundImage) off.drawBitmap(*backgroundImage, {0, 0});
    off.setOpacity(opacityValue);
    auto drawHandle = [&](int32_t image, int32_t position) {
        if (images[image]) off.drawBitmap(*images[image], drawPositions[position]);
    };
    if (viewMode == kSweepChart) {
        if (filter1Shown) drawPath(0);
        if (filter2Shown) drawPath(1);
        if (filter1Shown) {
            drawHandle(kImg1Heel, 0);
            drawHandle(kImg1Toe, 1);
        }
        if (filter2Shown) {
            drawHandle(kImg2Heel, 2);
            drawHandle(kImg2Toe, 3);
        }
    } else if (vowelShown) {
        drawHandle(heelOrientation ? kImg2Heel : kImg1Heel, 0);
        drawHandle(toeOrientation ? kImg2Toe : kImg1Toe, 1);
    }
}

void CTovanFilterCtrl::drawContent(CCDrawContext& ctx) {
    if (!offscreen) return;
    if (imageDirty) {
        // While fading, every frame recomposes at the frame's opacity.
        if (!isFading()) imageDirty = 0;
        compose(ctx.opacity());
    }
    ctx.blit(*offscreen, offscreen->surface().bounds(), {bounds.left, bounds.top});

    // Markers go straight onto the page, so live updates never recompose.
    auto drawMarker = [&](int32_t image, int32_t position) {
        if (images[image]) ctx.drawBitmap(*images[image], drawPositions[position]);
    };
    const CCValuePair& m1 = values[kSlotMarker1];
    const CCValuePair& m2 = values[kSlotMarker2];
    if (viewMode == kSweepChart) {
        if (filter1Shown && m1.first > 0) drawMarker(kImgMarker1, 4);
        if (filter2Shown && m2.first > 0) drawMarker(kImgMarker2, 5);
    } else if (vowelShown && m1.first > 0 && m2.first > 0) {
        if (!(heelOrientation && toeOrientation)) drawMarker(kImgMarker1, 4);
        if (heelOrientation || toeOrientation) drawMarker(kImgMarker2, 5);
    }
}

bool writeBackFilterPoints(CTovanFilterCtrl& display, CCPageObject& page,
                           const std::function<void(int32_t tag)>& queueSend) {
    if (!display.takeChanged()) return false;
    auto copy = [&](int32_t tag, float v) {
        auto* control = dynamic_cast<CControl*>(page.findByTag(tag));
        if (!control) return;
        const int32_t value = int32_t(std::trunc(v));
        // Values the drag did not move are already on the pedal.
        if (control->getValue() == value) return;
        control->setValue(value, Notify::yes, Redraw::yes, SelfOnly::no);
        if (queueSend) queueSend(tag);
    };
    for (const FilterWriteBackRow& row : kFilterWriteBackRows) {
        const CCValuePair v = display.getPoint(row.handle);
        copy(row.frequencyTag, v.first);
        copy(row.heightTag, v.second);
    }
    return true;
}
