#include "toolkit/controls/curved_slider.h"

#include <cmath>

CCCurvedSlider::CCCurvedSlider(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                               int32_t minimum, int32_t maximum, int32_t trackId, int32_t handleId,
                               int32_t archRise, int32_t initial, CCPageObject* listener, uint16_t groupMask)
    : CCHorizontalSlider(tag, left, top, right, bottom, minimum, maximum, trackId, handleId, initial,
                         listener, groupMask),
      rise(archRise) {}

int32_t CCCurvedSlider::riseAt(double u) const {
    return int32_t(std::lround(rise * 4.0 * u * (1.0 - u)));
}

CCRect CCCurvedSlider::handleRect(int32_t v) const {
    const CCSize h = handleSize();
    const int32_t length = travel();
    const int32_t along = travelOffset(v);
    const double u = length > 0 ? double(along) / length : 0.0;
    // At the ends the handle sits at the bottom of the track, at the middle `rise` higher.
    const int32_t lowest = bounds.bottom - h.height;
    return CCRect::fromSize({bounds.left + stepAreaSize + along, lowest - riseAt(u)}, h.width, h.height);
}
