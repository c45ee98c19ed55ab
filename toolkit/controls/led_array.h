#pragma once

#include "toolkit/controls/control.h"

class CCImageStrip;

// A row of lamps from left to right, each drawn from a two-frame strip (off,
// lit), `spacing` pixels from one lamp's left edge to the next. The value lights
// as many lamps as its share of the range wholly reaches.
class CCLedArray : public CControl {
public:
    CCLedArray(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t stripId,
               int32_t count, int32_t spacing, int32_t minimum = 0, int32_t maximum = 100,
               CCPageObject* listener = nullptr, uint16_t groupMask = 0);
    ~CCLedArray() override;

    void drawContent(CCDrawContext& ctx) override;
    int32_t litFor(int32_t v) const;
    int32_t ledCount() const { return count; }

private:
    CCImageStrip* strip = nullptr; // one registry reference
    int32_t count;
    int32_t spacing;
};
