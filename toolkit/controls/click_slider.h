#pragma once

#include "toolkit/controls/slider.h"

// A vertical slider whose handle jumps to a press on the track, then follows
// the drag as on CCSlider. The track runs between the handle's centres at both
// ends; its step is track height / (maximum - minimum) pixels a value.
class CCClickSlider : public CCSlider {
public:
    using CCSlider::CCSlider;

    bool onControlMouse(CCMouseMsg& msg) override;
    // The value under a window row: maximum - trunc((y - track top + step / 2) / step).
    int32_t valueAtRow(int32_t y) const;
};
