#pragma once

#include "toolkit/controls/control.h"

#include <string>
#include <string_view>
#include <vector>

class CCImageStrip;

// A button that opens a pop-up menu of commands. Its strip has three frames: 0
// disabled, 1 at rest, 2 pressed. The index of the chosen entry becomes the value
// and is reported even when it is the same entry as last time (each choice is a
// command); a menu closed without a choice reports nothing.
class CCButtonMenu : public CControl {
public:
    CCButtonMenu(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t stripId,
                 CCPageObject* listener = nullptr, uint16_t groupMask = 0);
    ~CCButtonMenu() override;

    // Appends an entry; the range grows to cover every entry.
    void addItem(std::string_view text);
    void clearItems();
    const std::vector<std::string>& getItems() const { return items; }

    void drawContent(CCDrawContext& ctx) override;
    bool onControlMouse(CCMouseMsg& msg) override;
    int32_t cursorAt(int32_t x, int32_t y) override;

    // Opens the menu below the button; false when nothing was chosen.
    bool openMenu();
    int32_t currentFrame() const;

private:
    CCImageStrip* strip = nullptr; // one registry reference
    std::vector<std::string> items;
    bool held = false;
};
