#pragma once

#include "toolkit/controls/mark_scale.h"

// A threshold meter: a horizontal bar of the live level with a threshold mark
// the user sets. The value is the threshold; the level (on the same scale) is
// only shown. The bar is dim amber below the threshold and bright above it, so
// the part that passes the threshold stands out. The wheel moves the mark by one.
class CHalvornThresholdCMeter : public CCMarkScale {
public:
    CHalvornThresholdCMeter(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                            int32_t backgroundId, int32_t minimum = 0, int32_t maximum = 100,
                            int32_t threshold = 50, CCPageObject* listener = nullptr, uint16_t groupMask = 0);

    void drawContent(CCDrawContext& ctx) override;
    int32_t columnFor(int32_t v) const override;
    int32_t valueAtColumn(int32_t x) const override;

    int32_t getLevel() const { return level; }

private:
    bool takeReading(int32_t reading) override;

    int32_t level;
};
