#include "toolkit/controls/list_box.h"

#include "toolkit/controls/list_box_item.h"
#include "toolkit/controls/scroller.h"
#include "toolkit/controls/scrolling_panel.h"
#include "toolkit/controls/table_row_container.h"
#include "toolkit/dialogs.h"
#include "toolkit/draw_context.h"
#include "toolkit/palette.h"

namespace {

constexpr CCColour kBody = palette::kWell;
constexpr CCColour kFrame = palette::kFrame;

} // namespace

CCListBox::CCListBox(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t trackId,
                     int32_t thumbId, int32_t rowHeight, CCPageObject* listener, uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, -1, -1, -1, listener, groupMask) {
    const int32_t width = right - left;
    const int32_t height = bottom - top;
    const bool withBar = trackId != 0 || thumbId != 0;
    const int32_t areaRight = withBar ? width - 1 - kScrollerWidth : width - 1;
    area = addChild(std::make_unique<CCScrollingPanel>(kTagNone, 1, 1, areaRight, height - 1));
    area->setLineStep(rowHeight);
    rows = area->addChild(
        std::make_unique<CCTableRowContainer>(kTagNone, 0, 0, areaRight - 1, height - 2, rowHeight));
    if (withBar) {
        bar = addChild(std::make_unique<CCScroller>(kTagNone, width - 1 - kScrollerWidth, 1, width - 1,
                                                    height - 1, trackId, thumbId));
        area->attachScroller(bar);
    }
}

int32_t CCListBox::itemCount() const {
    return rows->rowCount();
}

CCListBoxItem* CCListBox::item(int32_t index) const {
    return static_cast<CCListBoxItem*>(rows->row(index));
}

std::string CCListBox::getText() const {
    const CCListBoxItem* selected = item(value);
    return selected ? selected->getText() : std::string();
}

void CCListBox::rowsChanged() {
    setRange(-1, itemCount() - 1);
    area->contentChanged();
}

CCListBoxItem* CCListBox::addItem(std::string_view text, bool deletable) {
    auto row = std::make_unique<CCListBoxItem>(kTagNone, 0, 0, 1, 1, text, this);
    row->setDeletable(deletable);
    if (CCFontInterface* f = rowFont ? rowFont : objectFont) row->setFont(f);
    auto* raw = static_cast<CCListBoxItem*>(rows->addRow(std::move(row)));
    rowsChanged();
    return raw;
}

void CCListBox::setRowFont(CCFontInterface* font) {
    rowFont = font;
    for (int32_t i = 0; i < itemCount(); ++i)
        item(i)->setFont(font);
    invalidate(false);
}

void CCListBox::clearItems() {
    while (rows->rowCount() > 0)
        rows->removeRow(rows->rowCount() - 1);
    rowsChanged();
    setValue(-1, Notify::yes, Redraw::yes, SelfOnly::no);
}

void CCListBox::applyValue(int32_t v, Notify notify, Redraw redraw, SelfOnly selfOnly, Force force) {
    CControl::applyValue(v, notify, redraw, selfOnly, force);
    for (int32_t i = 0; i < itemCount(); ++i)
        item(i)->setValue(i == value ? 1 : 0, Notify::no, redraw, SelfOnly::yes);
    if (CCListBoxItem* selected = item(value))
        area->scrollToShow(selected->getBounds().top, selected->getBounds().bottom);
}

bool CCListBox::deleteSelected() {
    CCListBoxItem* selected = item(value);
    if (!selected || !selected->isDeletable()) return false;
    if (!confirmListDeletion()) return false;
    rows->removeRow(value);
    rowsChanged();
    setValue(-1, Notify::yes, Redraw::yes, SelfOnly::no);
    return true;
}

void CCListBox::reportEdit(int32_t row) {
    CCMsg msg(kMsgListItemChanged, tag, row);
    msg.target = this;
    bool handled = false;
    for (CCPageObject* l = listener; l && !handled; l = l->getListener())
        handled = l->onMessage(msg);
    if (!listener) sendToAncestors(msg);
}

bool CCListBox::onMouse(CCMouseMsg& msg) {
    if (msg.code == kMsgMouseMove) pointerInside = bounds.contains({msg.x, msg.y});
    return CControl::onMouse(msg);
}

bool CCListBox::onControlMessage(CCMsg& msg) {
    // Messages of the scroll area while the list is still being built.
    const int32_t row = rows ? rows->indexOf(msg.target) : -1;
    if (msg.code == kMsgValueChanged && row >= 0) {
        if (msg.second == 1) setValue(row, Notify::yes, Redraw::yes, SelfOnly::no);
        return true;
    }
    if (msg.code == kMsgListItemChanged && row >= 0) {
        reportEdit(row);
        return true;
    }
    if (msg.code == kMsgKeyDown && msg.first == kDeleteKey && pointerInside) return deleteSelected();
    return CControl::onControlMessage(msg);
}

void CCListBox::drawContent(CCDrawContext& ctx) {
    ctx.fillRect(bounds, kFrame);
    ctx.fillRect({bounds.left + 1, bounds.top + 1, bounds.right - 1, bounds.bottom - 1}, kBody);
}
