#pragma once

#include "toolkit/controls/mark_scale.h"

// A filter frequency meter: a logarithmic scale from the minimum to the maximum
// frequency (in hertz) across its width, with the filter's live frequency as an
// amber needle and a cream mark the user sets. The value is the mark's
// frequency; the reading is the live frequency in hertz. The wheel moves the
// mark by a twelfth of an octave.
class CHalvornFilterFreqMeter : public CCMarkScale {
public:
    CHalvornFilterFreqMeter(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                            int32_t backgroundId, int32_t minimumHz = 100, int32_t maximumHz = 10000,
                            int32_t markHz = 1000, CCPageObject* listener = nullptr, uint16_t groupMask = 0);

    void drawContent(CCDrawContext& ctx) override;
    int32_t columnFor(int32_t hz) const override;
    int32_t valueAtColumn(int32_t x) const override;

    int32_t getLiveFrequency() const { return live; }

private:
    int32_t wheelValue(bool up) const override;
    bool takeReading(int32_t hz) override;

    int32_t live = 0; // 0: no reading yet, no needle
};
