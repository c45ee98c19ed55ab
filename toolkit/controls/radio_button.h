#pragma once

#include "toolkit/controls/control.h"

#include <memory>
#include <vector>

// A row of member buttons of which one is chosen; the value is the chosen
// member's index. Members are children that report to the radio button, and a
// new value sets the member at that index to 1 and every other one to 0.
class CCRadioButton : public CControl {
public:
    CCRadioButton(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t bitmapId = 0,
                  CCPageObject* listener = nullptr, uint16_t groupMask = 0);

    // Adds a member (bounds relative to this control) and returns it; the range
    // grows to cover every member.
    CControl* addMember(std::unique_ptr<CControl> member);
    int32_t memberCount() const { return int32_t(members.size()); }
    CControl* member(int32_t index) const;

    void drawContent(CCDrawContext& ctx) override;
    bool onControlMessage(CCMsg& msg) override;
    bool onControlMouse(CCMouseMsg& msg) override;
    void applyValue(int32_t value, Notify notify, Redraw redraw, SelfOnly selfOnly, Force force) override;

private:
    void syncMembers();

    std::vector<CControl*> members; // owned through the child list
};
