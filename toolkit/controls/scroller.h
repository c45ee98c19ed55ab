#pragma once

#include "toolkit/controls/control.h"

class CCScrollingPanel;

// A scroll bar: its track (the background bitmap) and a thumb whose length is
// the visible share of what it scrolls. The value is the scroll position, 0 to
// the maximum (the hidden length). Dragging the thumb moves the position with
// the pointer; a press on the track beside the thumb moves one page toward the
// press. The wheel scrolls by one line: away from the player toward the start,
// as scrolled lists do everywhere. The thumb image is drawn in three parts: a
// third of it at each end as it is, and its middle third stretched to the length. A scroller
// taller than wide is vertical, any other horizontal.
class CCScroller : public CControl {
public:
    static constexpr int32_t kMinimumThumb = 12;
    static constexpr int32_t kDefaultLineStep = 16;

    CCScroller(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t trackId,
               int32_t thumbId, CCPageObject* listener = nullptr, uint16_t groupMask = 0);
    ~CCScroller() override;

    // What is shown of how much: the range becomes 0..total - visible.
    void setPage(int32_t visible, int32_t total);
    void setLineStep(int32_t step) { lineStep = step; }
    int32_t pageSize() const { return visible; }

    void drawContent(CCDrawContext& ctx) override;
    bool onControlMouse(CCMouseMsg& msg) override;
    int32_t cursorAt(int32_t x, int32_t y) override;

    // The thumb in window pixels for the current position.
    CCRect thumbRect() const;
    bool isVertical() const { return bounds.height() > bounds.width(); }

private:
    friend class CCScrollingPanel;

    int32_t length() const { return isVertical() ? bounds.height() : bounds.width(); }
    int32_t thumbLength() const;

    CCBitmap* thumb = nullptr; // one registry reference
    int32_t visible = 1;
    int32_t total = 1;
    int32_t lineStep = kDefaultLineStep;
    bool dragging = false;
    int32_t pressAlong = 0;
    int32_t pressValue = 0;
    CCScrollingPanel* follower = nullptr; // not owned: the panel this scroller moves
};
