#pragma once

#include "toolkit/controls/control.h"

class CCImageStrip;

// How pots follow a drag, one setting for the whole toolkit: 0 circular (the
// knob follows the pointer's angle), 1 linear (vertical travel, or horizontal
// steps), 2 horizontal steps. It starts at 2.
enum CCPotDragMode : int32_t { kPotDragCircular = 0, kPotDragLinear = 1, kPotDragHorizontal = 2 };
void setPotDragMode(int32_t mode);
int32_t potDragMode();

// Cursors of the pot family.
constexpr int32_t kCursorPotLinear = 302;
constexpr int32_t kCursorPotCircular = 303;

// A knob drawn as one frame of an image strip chosen by its value.
class CCPotControl : public CControl {
public:
    CCPotControl(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t minimum,
                 int32_t maximum, int32_t stripId, int32_t value, CCPageObject* listener = nullptr,
                 uint16_t groupMask = 0, int32_t stripOffset = 0);
    // Starts at 0; the first and last skipped frames of the strip are never shown
    // for a value (a strip with lead-in or lead-out frames).
    CCPotControl(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t minimum,
                 int32_t maximum, int32_t stripId, CCPageObject* listener, uint16_t firstSkipped,
                 uint16_t lastSkipped, uint16_t groupMask = 0, int32_t stripOffset = 0);
    ~CCPotControl() override;

    void boundsChanged() override;
    void drawContent(CCDrawContext& ctx) override;
    int32_t cursorAt(int32_t x, int32_t y) override;
    bool onControlMouse(CCMouseMsg& msg) override;
    void layoutLabel(int32_t letters) override;
    // The normalised value of a point on the knob's arc: 0 at the lower left
    // (turn 0.1), 0.5 at the top, 1 at the lower right (turn 0.9); beyond both
    // ends below the knob.
    virtual float positionToValue(int32_t x, int32_t y);

    // The strip frame shown for a value.
    int32_t frameForValue(int32_t v) const;
    int32_t currentFrame() const { return frame; }
    CCImageStrip* getStrip() const { return strip; }
    int32_t endStopState() const { return endStop; }
    float lastTurnFraction() const { return lastTurn; }

protected:
    // The pointer's angle about the knob's centre in radians (0 to the left,
    // growing clockwise through the top), also kept as the last turn fraction;
    // false at the centre itself, which has no angle.
    bool pointerAngle(int32_t x, int32_t y, double& radians);

    CCImageStrip* strip = nullptr; // one registry reference
    int32_t stripOffset = 0;
    uint16_t frame = 0;
    int32_t pressScreenX = 0;
    int32_t pressScreenY = 0;
    float lastPosition = 0;
    int32_t crossing = 0;
    int32_t endStop = 0; // 0 free, 1 held at maximum, 2 held at minimum
    uint16_t firstSkipped = 0;
    uint16_t lastSkipped = 0;
    uint16_t usableFrames = 0;
    float arcStart = 0.1f;
    float arcEnd = 0.9f;
    float arcSpan = 0.8f;
    float arcScale = 1.25f;
    float lastTurn = 0;

private:
    void takeStrip(int32_t stripId, int32_t frameWidth);
    void circularMove(int32_t x, int32_t y);
    void stepMove(const CCMouseMsg& msg, int32_t mode);
};
