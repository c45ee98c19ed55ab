#pragma once

#include "toolkit/controls/control.h"

class CCScroller;

// A window onto taller contents: its children are laid out as if the panel
// were as tall as the contents and are shown clipped to the panel, moved up by
// the scroll offset, which is its value (0 to contents height - panel height).
// The wheel over it scrolls by a line (away from the player toward the top)
// when no child takes the wheel first, and an attached scroller follows the
// offset and moves it. Mouse messages outside the panel never reach the
// children, so a scrolled-away control cannot be pressed where it is hidden.
class CCScrollingPanel : public CControl {
public:
    static constexpr int32_t kDefaultLineStep = 16;

    CCScrollingPanel(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                     CCPageObject* listener = nullptr, uint16_t groupMask = 0);
    ~CCScrollingPanel() override;

    void childAdded(CCPageObject* child) override;
    bool deliverToChildren(CCMsg& msg) override;
    bool onControlMessage(CCMsg& msg) override;
    void applyValue(int32_t value, Notify notify, Redraw redraw, SelfOnly selfOnly, Force force) override;
    void drawContent(CCDrawContext& ctx) override;

    // The height of the contents; by default the lowest child's bottom. Calling
    // it fixes the height (0 goes back to measuring the children).
    void setContentHeight(int32_t pixels);
    int32_t contentHeight() const;
    // Measures the children again (after they were moved or resized).
    void contentChanged();
    // The scroller that shows and moves the offset (it reports to this panel);
    // none detaches it. The two unlink themselves when either is destroyed.
    void attachScroller(CCScroller* scroller);
    void setLineStep(int32_t step) { lineStep = step; }
    // Scrolls so that a window row range is inside the panel.
    void scrollToShow(int32_t top, int32_t bottom);
    void setFill(CCColour colour) { fill = colour; }

private:
    bool scrollByWheel(const CCMouseMsg& msg);
    void updateScroller();

    CCScroller* scroller = nullptr; // not owned: a sibling
    int32_t fixedHeight = 0;
    int32_t lineStep = kDefaultLineStep;
    int32_t shiftedBy = 0; // how far the children are moved up now
    CCColour fill{0, 0, 0, 0};
};
