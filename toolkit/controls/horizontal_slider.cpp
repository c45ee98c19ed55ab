#include "toolkit/controls/horizontal_slider.h"

#include "toolkit/messages.h"

CCHorizontalSlider::CCHorizontalSlider(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                                       int32_t minimum, int32_t maximum, int32_t trackId, int32_t handleId,
                                       int32_t initial, CCPageObject* listener, uint16_t groupMask)
    : CCSlider(tag, left, top, right, bottom, minimum, maximum, trackId, handleId, initial, listener,
               groupMask) {
    horizontal = true;
}

int32_t CCHorizontalSlider::cursorAt(int32_t, int32_t) {
    return isEnabled() ? kCursorWestEast : kCursorArrow;
}
