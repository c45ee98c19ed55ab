#pragma once

#include "toolkit/controls/control.h"

// A slider: its track (the background bitmap) and a handle image placed by the
// value. This one is vertical, its maximum at the top.
//
// Each end of the track is a step area (8 pixels by default) beyond the handle's
// travel: a press in the first one (the top, or the right of a horizontal slider)
// adds one, in the second one (bottom, left) takes one away. A press anywhere
// else drags the handle with the cursor hidden; the value follows the travel
// exactly, the cursor staying at the press point. A double-click outside the
// step areas reads the value back from the parameter; inside them it is two steps.
class CCSlider : public CControl {
public:
    static constexpr int32_t kDefaultStepArea = 8;
    // The handle of a slider whose handle image is missing.
    static constexpr CCSize kDefaultHandle{12, 8};

    CCSlider(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t minimum,
             int32_t maximum, int32_t trackId, int32_t handleId, int32_t value = 0,
             CCPageObject* listener = nullptr, uint16_t groupMask = 0);
    ~CCSlider() override;

    void drawContent(CCDrawContext& ctx) override;
    bool onControlMouse(CCMouseMsg& msg) override;
    void onDoubleClick(CCPoint point) override;
    int32_t cursorAt(int32_t x, int32_t y) override;

    void setStepAreaSize(int32_t pixels) { stepAreaSize = pixels; }
    // Step area 0 adds one, step area 1 takes one away; window pixels.
    CCRect stepArea(int32_t index) const;
    // -1 outside both.
    int32_t stepAreaAt(CCPoint point) const;
    // Where the handle is drawn for a value.
    virtual CCRect handleRect(int32_t v) const;
    // Pixels the handle moves over the whole range.
    int32_t travel() const;
    bool isHorizontal() const { return horizontal; }

protected:
    // The handle's size: its image's, or kDefaultHandle without one.
    virtual CCSize handleSize() const;
    // Where along the travel a value puts the handle's leading edge (0 = minimum end).
    int32_t travelOffset(int32_t v) const;
    // Starts a drag from the current value.
    void beginDrag(const CCMouseMsg& msg);

    bool horizontal = false;
    CCBitmap* handle = nullptr; // one registry reference
    int32_t stepAreaSize = kDefaultStepArea;
    int32_t dragStartValue = 0;
    int32_t dragPixels = 0; // travel since the press, toward the maximum
    int32_t pressScreenX = 0;
    int32_t pressScreenY = 0;
};
