#pragma once

#include "platform/popup_menu.h"
#include "toolkit/controls/control.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CCMenuList;

// Item values run up to kMenuValueLimit; the value kMenuSeparator marks a separator.
constexpr int32_t kMenuValueLimit = 61439;
constexpr int32_t kMenuSeparator = 65535;

// One entry of a selector's menu: a text with a value, a separator, or a titled
// sub-list.
struct CCMenuItem {
    std::string text;
    int32_t value = 0;
    std::unique_ptr<CCMenuList> subList;

    bool isSeparator() const { return value == kMenuSeparator && !subList; }
};

// An ordered list of menu entries; sub-lists nest.
class CCMenuList {
public:
    // False (nothing added) for a value above kMenuValueLimit or below 0.
    bool addItem(std::string_view text, int32_t value);
    void addSeparator();
    // A titled sub-list, returned for filling.
    CCMenuList& addSubList(std::string_view title);
    void clear() { entries.clear(); }
    const std::vector<CCMenuItem>& items() const { return entries; }
    // The first choosable entry with that value, searched depth first; none if absent.
    const CCMenuItem* findValue(int32_t value) const;
    // Every choosable value in menu order.
    void collectValues(std::vector<int32_t>& out) const;

private:
    std::vector<CCMenuItem> entries;
};

// A selector whose items carry values, separators and sub-lists. It shows the
// current item's text over its background bitmap; a press opens a native pop-up
// menu with the current item checked, and the chosen item's value becomes the
// value (closing without a choice changes nothing). The wheel moves to the next
// or previous item.
class CCMenuSelectorEx : public CControl {
public:
    CCMenuSelectorEx(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                     int32_t bitmapId = 0, CCPageObject* listener = nullptr, uint16_t groupMask = 0);

    CCMenuList& menu() { return root; }
    const CCMenuList& menu() const { return root; }
    std::string getText() const override;

    void drawContent(CCDrawContext& ctx) override;
    bool onControlMouse(CCMouseMsg& msg) override;
    int32_t cursorAt(int32_t x, int32_t y) override;

    // Opens the pop-up menu and applies the choice; false when nothing was chosen.
    bool openMenu();
    // The pop-up menu as the platform gets it; commands index `values`.
    std::vector<PopupMenuItem> buildPopup(std::vector<int32_t>& values) const;
    void setAlignment(int32_t value) { alignment = value; }

private:
    CCMenuList root;
    int32_t alignment = 2;
};
