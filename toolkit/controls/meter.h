#pragma once

#include "toolkit/controls/control.h"

// A level meter: its background bitmap, then its foreground bitmap cut to the
// level's share of the height (rising from the bottom) when it is taller than
// wide, else of the width (from the left). A 513 with a positive normalised
// value sets the level through the range; otherwise its second parameter is
// the level itself.
class CCMeter : public CControl {
public:
    CCMeter(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t backgroundId,
            int32_t foregroundId, int32_t minimum = 0, int32_t maximum = 100,
            CCPageObject* listener = nullptr, uint16_t groupMask = 0);
    ~CCMeter() override;

    void drawContent(CCDrawContext& ctx) override;
    bool onControlMessage(CCMsg& msg) override;
    // Pixels of the foreground shown for the current level.
    int32_t filledLength() const;

protected:
    // True for a meter filled from the top or the right.
    virtual bool reversed() const { return false; }

    CCBitmap* foreground = nullptr; // one registry reference
};
