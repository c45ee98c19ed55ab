#pragma once

#include "toolkit/controls/control.h"

// One bitmap, centred in the control (a picture, a logo). It takes no values
// and ignores the mouse.
class CCImageViewer : public CControl {
public:
    CCImageViewer(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t bitmapId,
                  CCPageObject* listener = nullptr, uint16_t groupMask = 0);

    void drawContent(CCDrawContext& ctx) override;
    bool onControlMessage(CCMsg& msg) override;
    // Shows another bitmap; 0 shows none. False when it is missing.
    bool setImage(int32_t bitmapId);
};
