#pragma once

#include "toolkit/controls/horizontal_slider.h"

// A horizontal slider whose handle rides along an arch: its centre rises by
// `rise` pixels at the middle of the travel, following a parabola, so it sits
// on a curved track. It behaves as CCHorizontalSlider.
class CCCurvedSlider : public CCHorizontalSlider {
public:
    CCCurvedSlider(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t minimum,
                   int32_t maximum, int32_t trackId, int32_t handleId, int32_t rise, int32_t value = 0,
                   CCPageObject* listener = nullptr, uint16_t groupMask = 0);

    CCRect handleRect(int32_t v) const override;
    // How far the handle rises above its lowest place at a share u (0..1) of the travel.
    int32_t riseAt(double u) const;

private:
    int32_t rise;
};
