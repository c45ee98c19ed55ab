#pragma once

#include "toolkit/controls/slider.h"

// A horizontal slider, its maximum at the right; cursor west-east.
class CCHorizontalSlider : public CCSlider {
public:
    CCHorizontalSlider(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t minimum,
                       int32_t maximum, int32_t trackId, int32_t handleId, int32_t value = 0,
                       CCPageObject* listener = nullptr, uint16_t groupMask = 0);

    int32_t cursorAt(int32_t x, int32_t y) override;
};
