#pragma once

#include "toolkit/controls/control.h"

// A horizontal scale with a mark the user sets and a live reading that is only
// shown. The value is the mark; the reading arrives in a 600 message (first =
// tag, second = the reading). A press puts the mark under the pointer and a
// drag moves it; the wheel steps it, away from the player upward. The cursor
// is the west-east arrows. A meter gives its scale, its wheel step, how it
// takes a reading, and its drawing.
class CCMarkScale : public CControl {
public:
    bool onControlMessage(CCMsg& msg) override;
    bool onControlMouse(CCMouseMsg& msg) override;
    int32_t cursorAt(int32_t x, int32_t y) override;

    // Window column of a value on the scale, and the value under a column.
    virtual int32_t columnFor(int32_t v) const = 0;
    virtual int32_t valueAtColumn(int32_t x) const = 0;

protected:
    CCMarkScale(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t backgroundId,
                int32_t minimum, int32_t maximum, int32_t mark, CCPageObject* listener, uint16_t groupMask);

    // The bounds less the well's rim.
    CCRect scaleRect() const;
    // The background image, or a plain well where there is none.
    void drawWell(CCDrawContext& ctx);
    // The mark a wheel notch moves to.
    virtual int32_t wheelValue(bool up) const { return up ? value + 1 : value - 1; }
    // Takes a reading; answers whether what the meter shows changed.
    virtual bool takeReading(int32_t reading) = 0;
};
