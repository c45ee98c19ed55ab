#pragma once

#include "toolkit/controls/control.h"

// A progress bar: the background bitmap, then the progress bitmap cut to the
// value's share of its width, from the left.
class CCSimpleProgress : public CControl {
public:
    CCSimpleProgress(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                     int32_t backgroundId, int32_t progressId, int32_t maximum,
                     CCPageObject* listener = nullptr, uint16_t groupMask = 0);
    ~CCSimpleProgress() override;

    void drawContent(CCDrawContext& ctx) override;
    // Pixels of the progress bitmap shown for the current value.
    int32_t filledWidth() const;

private:
    CCBitmap* progress = nullptr; // one registry reference
};
