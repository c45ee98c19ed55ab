#pragma once

#include "toolkit/controls/horizontal_slider.h"

// A horizontal slider that draws itself without images: a dark groove with an
// olive edge, filled amber from the left up to a cream handle. It behaves as
// CCHorizontalSlider.
class CCHorizontalSlider2 : public CCHorizontalSlider {
public:
    static constexpr int32_t kHandleWidth = 6;

    CCHorizontalSlider2(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                        int32_t minimum, int32_t maximum, int32_t value = 0, CCPageObject* listener = nullptr,
                        uint16_t groupMask = 0);

    void drawContent(CCDrawContext& ctx) override;

protected:
    CCSize handleSize() const override { return {kHandleWidth, bounds.height()}; }
};
