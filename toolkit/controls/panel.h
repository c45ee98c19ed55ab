#pragma once

#include "toolkit/controls/control.h"

class CCBitmap;

// A container: a brush fill, a background bitmap and four edge bitmaps drawn
// under its children. It holds no value and takes no value messages.
class CCPanel : public CControl {
public:
    CCPanel(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t bitmapId = 0,
            CCPageObject* listener = nullptr, uint16_t groupMask = 0);
    ~CCPanel() override;

    void drawContent(CCDrawContext& ctx) override;
    bool takesPresses() const override { return false; }
    bool onControlMessage(CCMsg& msg) override;

    // A fill under everything; an alpha of 0 means none.
    void setFill(CCColour colour) { fill = colour; }
    // Edge images: left and right are stretched to the height, top and bottom to
    // the width. 0 removes one. False when an image is missing.
    bool setEdges(int32_t leftId, int32_t topId, int32_t rightId, int32_t bottomId);

private:
    CCColour fill{0, 0, 0, 0};
    CCBitmap* edges[4] = {}; // left, top, right, bottom; one registry reference each
};

// A panel shown over the page through CCPageManager::showModal. Its mode says
// how presses close it: 0 a press inside that none of its controls takes closes
// it, presses outside go nowhere; 1 a press outside closes it, presses inside
// never do; 2 any press that none of its controls takes closes it.
class CCModalPanel : public CCPanel {
public:
    CCModalPanel(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t bitmapId = 0,
                 int32_t mode = 0, CCPageObject* listener = nullptr);

    int32_t modalMode() const override { return mode; }
    // Presses on a modal panel are its own: they close it or go nowhere.
    bool takesPresses() const override { return true; }
    void setModalMode(int32_t value) { mode = value; }
    // Closes the panel if it is the manager's modal panel (it is destroyed).
    void close();

private:
    int32_t mode = 0;
};
