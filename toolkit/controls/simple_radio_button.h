#pragma once

#include "toolkit/controls/control.h"

#include <vector>

class CCImageStrip;

// A row of positions drawn by the control itself, one image each; the value is
// the chosen position. A press on a position chooses it; the wheel steps.
// Each image is a strip of two frames (not chosen, chosen) or one bitmap that is
// tinted when chosen.
class CCSimpleRadioButton : public CControl {
public:
    CCSimpleRadioButton(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                        int32_t bitmapId = 0, CCPageObject* listener = nullptr, uint16_t groupMask = 0);
    ~CCSimpleRadioButton() override;

    // A position at (x, y) relative to the control, as big as its image (one frame
    // of a two-frame strip when `frames` is 2). False when the image is missing;
    // the position is still added, without a picture, with the given size.
    bool addPosition(int32_t x, int32_t y, int32_t bitmapId, int32_t frames = 2, CCSize size = {});
    int32_t positionCount() const { return int32_t(positions.size()); }
    // The position under a window point, or -1.
    int32_t positionAt(CCPoint point) const;

    void drawContent(CCDrawContext& ctx) override;
    bool onControlMouse(CCMouseMsg& msg) override;
    int32_t cursorAt(int32_t x, int32_t y) override;

private:
    struct Position {
        CCRect local; // relative to the control's corner
        CCImageStrip* image;
    };
    std::vector<Position> positions;
};
