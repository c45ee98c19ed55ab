#include "toolkit/controls/click_slider.h"

#include <algorithm>
#include <cmath>

int32_t CCClickSlider::valueAtRow(int32_t y) const {
    const int32_t span = maximum - minimum;
    if (span <= 0) return minimum;
    // The handle's centre at the maximum: below the upper step area.
    const int32_t trackTop = bounds.top + stepAreaSize + handleSize().height / 2;
    const double step = double(std::max(travel(), 1)) / span;
    // Counted down from the maximum, so that a range with a negative minimum
    // lands on its own values.
    const double rows = std::trunc((y - trackTop + step / 2) / step);
    return int32_t(std::clamp<double>(maximum - rows, minimum, maximum));
}

bool CCClickSlider::onControlMouse(CCMouseMsg& msg) {
    const bool press =
        msg.code == kMsgLeftDown && CCPageObject::hitTest({msg.x, msg.y}) && stepAreaAt({msg.x, msg.y}) < 0;
    if (press) setValue(valueAtRow(msg.y), Notify::yes, Redraw::yes, SelfOnly::yes);
    return CCSlider::onControlMouse(msg);
}
