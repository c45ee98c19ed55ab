#pragma once

#include "toolkit/controls/control.h"
#include "toolkit/palette.h"

class CCImageStrip;

// How a button answers a press and its release.
enum CCButtonMode : int32_t {
    kButtonMomentary = 0,       // 1 while held, 0 on release
    kButtonToggle = 1,          // flips on a release inside
    kButtonTrigger = 2,         // 1 then 0 at the press
    kButtonSetOnly = 3,         // set to 1 on a release inside, never back to 0
    kButtonTriggerTracking = 4, // 1 then 0 on a release inside; the pressed look follows the pointer
};

// The button cursor. There is no such cursor resource, so the shape stays as it is.
constexpr int32_t kCursorButton = 300;

// Tints of the button art, which is drawn in cream and white.
struct CCButtonTints {
    CCTint off = palette::tintOf(palette::kStone);
    CCTint on = palette::tintOf(palette::kAmberLit);
    CCTint pressed = palette::tintOf(palette::kWhite);
    CCTint hover = palette::tintOf(palette::kCreamHover);
};

// A two-state button drawn from one bitmap (or from a strip of two frames, off
// and on), tinted for its state: pressed or hovered, on, off.
class CCOnOffButton : public CControl {
public:
    CCOnOffButton(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t bitmapId,
                  int32_t mode = kButtonToggle, CCPageObject* listener = nullptr, uint16_t groupMask = 0,
                  int32_t frames = 1);
    ~CCOnOffButton() override;

    void drawContent(CCDrawContext& ctx) override;
    bool onControlMouse(CCMouseMsg& msg) override;
    int32_t cursorAt(int32_t x, int32_t y) override;

    void setMode(int32_t value) { mode = value; }
    int32_t getMode() const { return mode; }
    void setTints(const CCButtonTints& value) { tints = value; }
    // Drawn pressed: held, and for mode 4 only while the pointer is over it.
    bool isPressed() const { return held && (mode != kButtonTriggerTracking || mouseOver); }

protected:
    // The tint for the current state; none (zero) draws the art as it is.
    CCTint stateTint() const;

    CCImageStrip* strip = nullptr; // one registry reference
    int32_t mode = kButtonToggle;
    bool held = false;
    CCButtonTints tints;
};
