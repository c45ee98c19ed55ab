#pragma once

#include "toolkit/controls/panel.h"

#include <string>
#include <vector>

class CCMenuSelector;

// The drawn list a CCMenuSelector opens: one row per item, the current one
// marked. It is a modal panel that takes every press: a press on a row chooses
// it, any other press closes the list without a choice.
class CCPopupList : public CCModalPanel {
public:
    static constexpr int32_t kRowHeight = 14;

    // Bounds relative to the manager; rows are the selector's items.
    CCPopupList(CCMenuSelector& selector, CCRect bounds);
    ~CCPopupList() override;

    void drawContent(CCDrawContext& ctx) override;
    bool onControlMouse(CCMouseMsg& msg) override;
    // The row under a window point, or -1.
    int32_t rowAt(CCPoint point) const;
    // The selector is going away: choosing does nothing any more.
    void detach() { selector = nullptr; }

private:
    CCMenuSelector* selector; // not owned
    int32_t hoverRow = -1;
};
