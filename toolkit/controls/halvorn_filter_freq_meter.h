#pragma once

#include "toolkit/controls/control.h"

// A filter frequency meter: a logarithmic scale from the minimum to the maximum
// frequency (in hertz) across its width, with the filter's live frequency as an
// amber needle and a cream mark the user sets. The value is the mark's
// frequency; the live frequency arrives in a 600 message (first = tag, second =
// hertz). A press puts the mark under the pointer and a drag moves it; the
// wheel moves it by a twelfth of an octave, away from the player upward. The
// cursor is the west-east arrows.
class CHalvornFilterFreqMeter : public CControl {
public:
    CHalvornFilterFreqMeter(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                            int32_t backgroundId, int32_t minimumHz = 100, int32_t maximumHz = 10000,
                            int32_t markHz = 1000, CCPageObject* listener = nullptr, uint16_t groupMask = 0);

    void drawContent(CCDrawContext& ctx) override;
    bool onControlMessage(CCMsg& msg) override;
    bool onControlMouse(CCMouseMsg& msg) override;
    int32_t cursorAt(int32_t x, int32_t y) override;

    int32_t getLiveFrequency() const { return live; }
    // Window column of a frequency on the log scale, and the frequency under a column.
    int32_t columnFor(int32_t hz) const;
    int32_t frequencyAtColumn(int32_t x) const;

private:
    CCRect scaleRect() const;

    int32_t live = 0; // 0: no reading yet, no needle
};
