#pragma once

#include "toolkit/controls/control.h"

class CCImageStrip;

// A lever switch with a number of positions, one strip frame each (the frame is
// the value). The positions share the switch's length: left to right on a
// switch wider than tall, else top to bottom. A press picks the position under
// the mouse; dragging on with the cursor hidden moves one position for every
// position's length of travel; on release the cursor comes back over the chosen
// position.
class CCSwitch : public CControl {
public:
    CCSwitch(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t stripId,
             int32_t positions, int32_t value = 0, CCPageObject* listener = nullptr, uint16_t groupMask = 0);
    ~CCSwitch() override;

    void drawContent(CCDrawContext& ctx) override;
    bool onControlMouse(CCMouseMsg& msg) override;
    int32_t cursorAt(int32_t x, int32_t y) override;

    int32_t positionCount() const { return positions; }
    // The position under a window point (clamped to the switch).
    int32_t positionAt(CCPoint point) const;
    // The centre of a position, in window pixels.
    CCPoint positionCentre(int32_t position) const;
    bool isHorizontal() const { return bounds.width() > bounds.height(); }

private:
    int32_t positionLength() const;

    CCImageStrip* strip = nullptr; // one registry reference
    int32_t positions;
    int32_t pressScreenX = 0;
    int32_t pressScreenY = 0;
    int32_t pressValue = 0;
};
