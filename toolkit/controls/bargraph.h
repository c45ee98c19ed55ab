#pragma once

#include "toolkit/controls/control.h"

class CCImageStrip;

// A segmented bar: one frame of its strip chosen by the value, frame 0 empty and
// the last frame full; a value lights the segments it has wholly reached.
class CCBargraph : public CControl {
public:
    CCBargraph(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t stripId,
               int32_t frames, int32_t minimum = 0, int32_t maximum = 100, CCPageObject* listener = nullptr,
               uint16_t groupMask = 0);
    ~CCBargraph() override;

    void drawContent(CCDrawContext& ctx) override;
    int32_t frameFor(int32_t v) const;

private:
    CCImageStrip* strip = nullptr; // one registry reference
};
