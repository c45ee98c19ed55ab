#pragma once

#include "toolkit/controls/control.h"

// A threshold meter: a horizontal bar of the live level with a threshold mark
// the user sets. The value is the threshold; the level arrives in a 600
// message (first = tag, second = level on the same scale) and is only shown.
// The bar is dim amber below the threshold and bright above it, so the part
// that passes the threshold stands out. A press puts the mark under the
// pointer and a drag moves it; the wheel moves it by one, away from the player
// upward. The cursor is the west-east arrows.
class CHalvornThresholdCMeter : public CControl {
public:
    CHalvornThresholdCMeter(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                            int32_t backgroundId, int32_t minimum = 0, int32_t maximum = 100,
                            int32_t threshold = 50, CCPageObject* listener = nullptr, uint16_t groupMask = 0);

    void drawContent(CCDrawContext& ctx) override;
    bool onControlMessage(CCMsg& msg) override;
    bool onControlMouse(CCMouseMsg& msg) override;
    int32_t cursorAt(int32_t x, int32_t y) override;

    int32_t getLevel() const { return level; }
    // Window column of a value on the scale, and the value under a column.
    int32_t columnFor(int32_t v) const;
    int32_t valueAtColumn(int32_t x) const;

private:
    CCRect scaleRect() const;

    int32_t level;
};
