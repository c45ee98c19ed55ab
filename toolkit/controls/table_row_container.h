#pragma once

#include "toolkit/controls/panel.h"

#include <memory>

// A panel that stacks rows of equal height from its top, each as wide as the
// panel; it grows to fit them (never below the height it was made with).
// Removing a row closes the gap.
class CCTableRowContainer : public CCPanel {
public:
    CCTableRowContainer(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                        int32_t rowHeight, int32_t bitmapId = 0, CCPageObject* listener = nullptr,
                        uint16_t groupMask = 0);

    // Places the row below the others and returns it.
    CControl* addRow(std::unique_ptr<CControl> row);
    // Takes a row out; none for a wrong index.
    std::unique_ptr<CControl> removeRow(int32_t index);
    int32_t rowCount() const { return int32_t(rows.size()); }
    CControl* row(int32_t index) const;
    int32_t indexOf(const CCPageObject* object) const;
    int32_t getRowHeight() const { return rowHeight; }

private:
    void fitHeight();

    std::vector<CControl*> rows; // owned through the child list
    int32_t rowHeight;
    int32_t minimumHeight;
};
