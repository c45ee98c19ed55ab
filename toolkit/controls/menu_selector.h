#pragma once

#include "toolkit/controls/control.h"

#include <string>
#include <string_view>
#include <vector>

class CCPopupList;

// A selector that shows its current item's text over its bitmap and, on a
// press, opens its own drawn list of items as a modal panel below it (above it
// when there is no room). The value is the item's index counted from the minimum;
// the wheel steps through the items.
class CCMenuSelector : public CControl {
public:
    CCMenuSelector(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                   int32_t bitmapId = 0, CCPageObject* listener = nullptr, uint16_t groupMask = 0);
    ~CCMenuSelector() override;

    // Appends an item; the range grows to cover every item.
    void addItem(std::string_view text);
    void clearItems();
    int32_t itemCount() const { return int32_t(items.size()); }
    const std::vector<std::string>& getItems() const { return items; }
    // The text of the current item; empty when the value names none.
    std::string getText() const override;

    void drawContent(CCDrawContext& ctx) override;
    bool onControlMouse(CCMouseMsg& msg) override;
    int32_t cursorAt(int32_t x, int32_t y) override;

    // Opens the list; false without a manager or without items.
    bool openList();
    CCPopupList* getOpenList() const { return list; }
    // What the list calls when an item is chosen.
    void choose(int32_t index);
    void setAlignment(int32_t value) { alignment = value; }

private:
    friend class CCPopupList;

    std::vector<std::string> items;
    CCPopupList* list = nullptr; // the open list, owned by the manager
    int32_t alignment = 2;
};
