#pragma once

#include "toolkit/controls/on_off_button.h"

// A button drawn from a strip of two frames, the frame being its value, with a
// hover tint only; it answers presses as CCOnOffButton does.
class CSimpleButton : public CCOnOffButton {
public:
    CSimpleButton(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t stripId,
                  int32_t mode = kButtonToggle, CCPageObject* listener = nullptr, uint16_t groupMask = 0);

    void drawContent(CCDrawContext& ctx) override;
};
