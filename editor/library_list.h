#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/controls/control.h"

// One of the library tab's lists: rows of up to three columns (a slot, a name,
// a description, or a file's name), filtered by a search text, with several
// rows selected (a press selects one, Shift a run, Ctrl one more) and dragged
// onto another list or another row. The list knows no preset: the rows carry
// an id (a slot, an entry of the folder), and a drop is handed to the page.
class CLibraryList : public CControl {
public:
    static constexpr int32_t kRowHeight = 15;

    struct Row {
        int32_t id = 0;
        std::array<std::string, 3> columns;
        // Drawn dimmed: a file that cannot be loaded, an empty slot.
        bool dimmed = false;
    };
    // A drag ended over `point` (window pixels); copy when Ctrl was held.
    using DropHandler = std::function<void(CLibraryList& source, CCPoint point, bool copy)>;

    CLibraryList(int32_t tag, CCRect rect, bool draggable);

    // The rows; the selection keeps the ids still there.
    void setRows(std::vector<Row> rows);
    // Shows only the rows whose columns hold the text (any case); empty shows all.
    void setFilter(std::string_view text);
    // Where each column starts, from the left edge.
    void setColumns(std::array<int32_t, 3> starts) { columnStarts = starts; }
    void setFonts(CCFontInterface* text, CCFontInterface* dimmed);
    void setDropHandler(DropHandler handler) { onDrop = std::move(handler); }
    // The pointer moved during a drag (window pixels): the page shows where it would drop.
    void setDragHandler(std::function<void(CCPoint point)> handler) { onDragMove = std::move(handler); }
    // What an empty list says in its middle.
    void setEmptyText(std::string text) { emptyText = std::move(text); }

    // The rows shown after the filter, in order.
    std::vector<const Row*> shownRows() const;
    // The id of the shown row under point, or -1.
    int32_t idAt(CCPoint point) const;
    // The selected ids in row order.
    std::vector<int32_t> selectedIds() const;
    void select(const std::vector<int32_t>& ids);
    // Where a row is on screen (window pixels), for a drag that starts there;
    // empty when it is scrolled away or filtered out.
    CCRect rowRect(int32_t id) const;
    // Marks the row a drag would drop on (-1: none).
    void setDropTarget(int32_t id);
    // A drag over the list's first or last shown row (or just beyond it) scrolls
    // the list a row that way, so that a drag reaches every row; true when it moved.
    bool scrollForDrag(CCPoint point);

    bool onControlMouse(CCMouseMsg& msg) override;
    void drawContent(CCDrawContext& ctx) override;
    int32_t cursorAt(int32_t x, int32_t y) override;

private:
    int32_t shownIndexAt(CCPoint point) const;
    int32_t visibleRows() const;
    void scrollBy(int32_t rows);
    bool matches(const Row& row) const;

    std::vector<Row> rows;
    std::vector<bool> selected; // by row in `rows`
    std::string filter;
    std::string emptyText;
    std::array<int32_t, 3> columnStarts{4, 40, 80};
    CCFontInterface* textFont = nullptr;
    CCFontInterface* dimmedFont = nullptr;
    DropHandler onDrop;
    std::function<void(CCPoint)> onDragMove;
    bool draggable;
    int32_t firstShown = 0; // scrolled rows
    int32_t anchor = -1;    // the row Shift extends from (index in rows)
    bool pressed = false;
    bool dragging = false;
    CCPoint pressAt{};
    int32_t dropTarget = -1;
};
