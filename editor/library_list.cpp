#include "editor/library_list.h"

#include <algorithm>
#include <cctype>

#include "toolkit/draw_context.h"
#include "toolkit/font.h"
#include "toolkit/messages.h"
#include "toolkit/palette.h"

namespace {

constexpr CCColour kWell = palette::kListWell;
constexpr CCColour kOddRow = palette::kListOddRow;
constexpr CCColour kSelected = palette::kRowSelected;
constexpr CCColour kSelectedEdge = palette::kAmber;
constexpr CCColour kFrame = palette::kListFrame;
constexpr CCColour kThumb = palette::kScrollThumb;
// How far the pointer moves before a press becomes a drag.
constexpr int32_t kDragDistance = 4;
constexpr int32_t kScrollerWidth = 4;

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& ch : out)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return out;
}

} // namespace

CLibraryList::CLibraryList(int32_t tag, CCRect rect, bool draggable)
    : CControl(tag, rect.left, rect.top, rect.right, rect.bottom, 0, 0), draggable(draggable) {}

void CLibraryList::setFonts(CCFontInterface* text, CCFontInterface* dimmed) {
    textFont = text;
    dimmedFont = dimmed;
}

void CLibraryList::setRows(std::vector<Row> newRows) {
    const std::vector<int32_t> kept = selectedIds();
    rows = std::move(newRows);
    selected.assign(rows.size(), false);
    select(kept);
    anchor = -1;
    firstShown =
        std::clamp(firstShown, 0, std::max(0, static_cast<int32_t>(shownRows().size()) - visibleRows()));
    invalidate(true);
}

bool CLibraryList::matches(const Row& row) const {
    if (filter.empty()) return true;
    for (const std::string& column : row.columns)
        if (lowered(column).find(filter) != std::string::npos) return true;
    return false;
}

void CLibraryList::setFilter(std::string_view text) {
    std::string wanted = lowered(text);
    if (wanted == filter) return;
    filter = std::move(wanted);
    firstShown = 0;
    invalidate(true);
}

std::vector<const CLibraryList::Row*> CLibraryList::shownRows() const {
    std::vector<const Row*> shown;
    for (const Row& row : rows)
        if (matches(row)) shown.push_back(&row);
    return shown;
}

int32_t CLibraryList::visibleRows() const {
    return std::max(1, (bounds.height() - 2) / kRowHeight);
}

int32_t CLibraryList::shownIndexAt(CCPoint point) const {
    if (!CCPageObject::hitTest(point)) return -1;
    const int32_t index = firstShown + (point.y - bounds.top - 1) / kRowHeight;
    return index < static_cast<int32_t>(shownRows().size()) ? index : -1;
}

int32_t CLibraryList::idAt(CCPoint point) const {
    const int32_t index = shownIndexAt(point);
    return index < 0 ? -1 : shownRows()[static_cast<size_t>(index)]->id;
}

std::vector<int32_t> CLibraryList::selectedIds() const {
    std::vector<int32_t> ids;
    for (size_t i = 0; i < rows.size() && i < selected.size(); ++i)
        if (selected[i]) ids.push_back(rows[i].id);
    return ids;
}

void CLibraryList::select(const std::vector<int32_t>& ids) {
    selected.assign(rows.size(), false);
    for (size_t i = 0; i < rows.size(); ++i)
        selected[i] = std::find(ids.begin(), ids.end(), rows[i].id) != ids.end();
    invalidate(true);
}

CCRect CLibraryList::rowRect(int32_t id) const {
    const auto shown = shownRows();
    for (size_t i = 0; i < shown.size(); ++i) {
        const auto index = static_cast<int32_t>(i);
        if (shown[i]->id != id || index < firstShown || index >= firstShown + visibleRows()) continue;
        const int32_t top = bounds.top + 1 + (index - firstShown) * kRowHeight;
        return {bounds.left + 1, top, bounds.right - 1 - kScrollerWidth, top + kRowHeight};
    }
    return {};
}

void CLibraryList::setDropTarget(int32_t id) {
    if (id == dropTarget) return;
    dropTarget = id;
    invalidate(true);
}

bool CLibraryList::scrollForDrag(CCPoint point) {
    if (point.x < bounds.left || point.x >= bounds.right) return false;
    const int32_t before = firstShown;
    if (point.y < bounds.top + 1 + kRowHeight && point.y >= bounds.top - kRowHeight)
        scrollBy(-1);
    else if (point.y >= bounds.bottom - 1 - kRowHeight && point.y < bounds.bottom + kRowHeight)
        scrollBy(1);
    return firstShown != before;
}

void CLibraryList::scrollBy(int32_t count) {
    const int32_t most = std::max(0, static_cast<int32_t>(shownRows().size()) - visibleRows());
    const int32_t next = std::clamp(firstShown + count, 0, most);
    if (next == firstShown) return;
    firstShown = next;
    invalidate(true);
}

int32_t CLibraryList::cursorAt(int32_t, int32_t) {
    return dragging ? kCursorHand : kCursorArrow;
}

bool CLibraryList::onControlMouse(CCMouseMsg& msg) {
    const CCPoint point{msg.x, msg.y};
    switch (msg.code) {
    case kMsgLeftDown: {
        if (!CCPageObject::hitTest(point)) return false;
        const int32_t shownIndex = shownIndexAt(point);
        if (shownIndex < 0) {
            if (!msg.controlDown && !msg.shiftDown) select({});
            return true;
        }
        const auto shown = shownRows();
        const Row* row = shown[static_cast<size_t>(shownIndex)];
        const auto index = static_cast<int32_t>(row - rows.data());
        if (msg.shiftDown && anchor >= 0) {
            // A run of the shown rows from the anchor to this one.
            const auto from = std::find(shown.begin(), shown.end(), &rows[static_cast<size_t>(anchor)]);
            const int32_t a = from == shown.end() ? shownIndex : static_cast<int32_t>(from - shown.begin());
            selected.assign(rows.size(), false);
            for (int32_t i = std::min(a, shownIndex); i <= std::max(a, shownIndex); ++i)
                selected[static_cast<size_t>(shown[static_cast<size_t>(i)] - rows.data())] = true;
        } else if (msg.controlDown) {
            selected[static_cast<size_t>(index)] = !selected[static_cast<size_t>(index)];
            anchor = index;
        } else {
            // A press on a selected row keeps the selection, so that it can be dragged whole.
            if (!selected[static_cast<size_t>(index)]) {
                selected.assign(rows.size(), false);
                selected[static_cast<size_t>(index)] = true;
            }
            anchor = index;
        }
        pressed = true;
        dragging = false;
        pressAt = point;
        captureMouse(true);
        invalidate(true);
        return true;
    }
    case kMsgMouseMove:
        if (!pressed) return false;
        if (draggable && !dragging &&
            std::abs(point.x - pressAt.x) + std::abs(point.y - pressAt.y) >= kDragDistance)
            dragging = true;
        if (dragging && onDragMove) onDragMove(point);
        return true;
    case kMsgLeftUp: {
        if (!pressed) return false;
        pressed = false;
        captureMouse(false);
        const bool dropped = dragging;
        dragging = false;
        if (dropped && onDrop) onDrop(*this, point, msg.controlDown != 0);
        return true;
    }
    case kMsgWheel:
        if (!CCPageObject::hitTest(point)) return false;
        scrollBy(msg.first > 0 ? -3 : 3);
        return true;
    default:
        return false;
    }
}

void CLibraryList::drawContent(CCDrawContext& ctx) {
    ctx.fillRect(bounds, kFrame);
    const CCRect inner{bounds.left + 1, bounds.top + 1, bounds.right - 1, bounds.bottom - 1};
    ctx.fillRect(inner, kWell);
    const auto shown = shownRows();
    const int32_t visible = visibleRows();
    for (int32_t i = 0; i < visible && firstShown + i < static_cast<int32_t>(shown.size()); ++i) {
        const Row& row = *shown[static_cast<size_t>(firstShown + i)];
        const int32_t top = inner.top + i * kRowHeight;
        const CCRect line{inner.left, top, inner.right - kScrollerWidth, top + kRowHeight};
        const bool isSelected = selected[static_cast<size_t>(&row - rows.data())];
        if (isSelected) {
            ctx.fillRect(line, kSelected);
            ctx.fillRect({line.left, line.top, line.left + 2, line.bottom}, kSelectedEdge);
        } else if ((firstShown + i) % 2 == 1) {
            ctx.fillRect(line, kOddRow);
        }
        if (row.id == dropTarget)
            ctx.fillRect({line.left, line.top, line.right, line.top + 2}, kSelectedEdge);
        CCFontInterface* f = row.dimmed && dimmedFont != nullptr ? dimmedFont : textFont;
        if (f == nullptr) f = font();
        if (f == nullptr) continue;
        for (size_t c = 0; c < row.columns.size(); ++c) {
            if (row.columns[c].empty()) continue;
            const int32_t left = line.left + columnStarts[c];
            const int32_t right = c + 1 < row.columns.size() && columnStarts[c + 1] > columnStarts[c]
                                      ? line.left + columnStarts[c + 1] - 4
                                      : line.right - 2;
            f->drawText(ctx, row.columns[c], {left, line.top, right, line.bottom}, kAlignLeftShortened);
        }
    }
    if (shown.empty() && !emptyText.empty())
        if (CCFontInterface* f = dimmedFont != nullptr ? dimmedFont : font())
            f->drawText(ctx, emptyText,
                        {inner.left, inner.top + inner.height() / 2 - kRowHeight, inner.right,
                         inner.top + inner.height() / 2},
                        kAlignCentre);
    // Where the shown rows stand in the whole list.
    const auto total = static_cast<int32_t>(shown.size());
    if (total > visible) {
        const int32_t track = inner.height();
        const int32_t thumbTop = inner.top + track * firstShown / total;
        const int32_t thumbBottom = inner.top + track * std::min(total, firstShown + visible) / total;
        ctx.fillRect({inner.right - kScrollerWidth + 1, thumbTop, inner.right, thumbBottom}, kThumb);
    }
}
