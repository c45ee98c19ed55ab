#pragma once

#include "toolkit/controls/control.h"

class CCImageStrip;

// A lamp or other indicator: one frame of a strip chosen by its value
// (value - minimum); it does not react to the mouse.
class CCIndicator : public CControl {
public:
    CCIndicator(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t stripId,
                int32_t frames = 2, int32_t minimum = 0, int32_t maximum = 1,
                CCPageObject* listener = nullptr, uint16_t groupMask = 0);
    ~CCIndicator() override;

    void drawContent(CCDrawContext& ctx) override;
    bool takesPresses() const override { return false; }

private:
    CCImageStrip* strip = nullptr; // one registry reference
};
