#pragma once

#include "toolkit/controls/control.h"

#include <string>
#include <string_view>

class CCListBoxItem;
class CCScroller;
class CCScrollingPanel;
class CCTableRowContainer;

// A list of text rows with one selected row, its value (-1: none). The rows sit
// in a scrolling panel, with a scroller at the right when track and thumb images
// are given. A press on a row selects it and reports its index; a row edited in
// place is reported with a 527 (first = the list's tag, second = the row). The
// Delete key, while the pointer is over the list, deletes the selected row if
// it may be deleted and the user agrees ("Are you sure you want to delete ?").
class CCListBox : public CControl {
public:
    static constexpr int32_t kDefaultRowHeight = 16;
    static constexpr int32_t kScrollerWidth = 10;
    static constexpr int32_t kDeleteKey = 46;

    CCListBox(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t trackId = 0,
              int32_t thumbId = 0, int32_t rowHeight = kDefaultRowHeight, CCPageObject* listener = nullptr,
              uint16_t groupMask = 0);

    CCListBoxItem* addItem(std::string_view text, bool deletable = true);
    void clearItems();
    int32_t itemCount() const;
    CCListBoxItem* item(int32_t index) const;
    // The selected row's text; empty when none is selected.
    std::string getText() const override;

    bool onMouse(CCMouseMsg& msg) override;
    bool onControlMessage(CCMsg& msg) override;
    void applyValue(int32_t value, Notify notify, Redraw redraw, SelfOnly selfOnly, Force force) override;
    void drawContent(CCDrawContext& ctx) override;

    // Asks, then deletes the selected row; true when it was deleted.
    bool deleteSelected();
    // The font of every row, those there already and those to come (not owned;
    // none gives new rows the list's own font).
    void setRowFont(CCFontInterface* font);
    CCScrollingPanel* scrollArea() const { return area; }
    CCScroller* scrollBar() const { return bar; }

private:
    void rowsChanged();
    void reportEdit(int32_t row);

    CCScrollingPanel* area = nullptr;    // owned through the child list
    CCTableRowContainer* rows = nullptr; // owned by the area
    CCScroller* bar = nullptr;           // owned through the child list
    bool pointerInside = false;
    CCFontInterface* rowFont = nullptr; // not owned: fonts belong to the font cache
};
