#include "toolkit/controls/table_row_container.h"

#include <algorithm>

CCTableRowContainer::CCTableRowContainer(int32_t tag, int32_t left, int32_t top, int32_t right,
                                         int32_t bottom, int32_t height, int32_t bitmapId,
                                         CCPageObject* listener, uint16_t groupMask)
    : CCPanel(tag, left, top, right, bottom, bitmapId, listener, groupMask), rowHeight(std::max(height, 1)),
      minimumHeight(bottom - top) {}

CControl* CCTableRowContainer::row(int32_t index) const {
    return index >= 0 && index < rowCount() ? rows[size_t(index)] : nullptr;
}

int32_t CCTableRowContainer::indexOf(const CCPageObject* object) const {
    auto it = std::find(rows.begin(), rows.end(), object);
    return it == rows.end() ? -1 : int32_t(it - rows.begin());
}

void CCTableRowContainer::fitHeight() {
    const int32_t wanted = std::max(minimumHeight, rowCount() * rowHeight);
    if (wanted != bounds.height()) setBounds({bounds.left, bounds.top, bounds.right, bounds.top + wanted});
}

CControl* CCTableRowContainer::addRow(std::unique_ptr<CControl> row) {
    const int32_t y = rowCount() * rowHeight;
    row->setBounds({0, y, bounds.width(), y + rowHeight});
    CControl* raw = row.get();
    rows.push_back(raw);
    fitHeight();
    addChild(std::move(row));
    return raw;
}

std::unique_ptr<CControl> CCTableRowContainer::removeRow(int32_t index) {
    CControl* target = row(index);
    if (!target) return nullptr;
    std::unique_ptr<CCPageObject> removed = removeChild(target);
    rows.erase(rows.begin() + index);
    for (size_t i = size_t(index); i < rows.size(); ++i)
        rows[i]->moveBy(0, -rowHeight);
    fitHeight();
    invalidate(false);
    return std::unique_ptr<CControl>(static_cast<CControl*>(removed.release()));
}
