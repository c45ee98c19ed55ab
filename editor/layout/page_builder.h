#pragma once

#include <array>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "editor/layout/layout_row.h"
#include "toolkit/font.h"

class CControl;
class CCFontInterface;
class CCPageObject;

// How the page draws a text style.
struct TextStyleRecord {
    CCFontInterface* font = nullptr; // the font cache owns it
    int32_t alignment = kAlignCentre;
};

// What a build made that the page needs afterwards.
struct BuiltPage {
    std::array<CCPageObject*, static_cast<size_t>(Role::kCount)> roles{};
    // Labels that show and hide with the control of a tag.
    struct Follower {
        CCPageObject* label;
        int32_t tag;
    };
    std::vector<Follower> followers;

    CCPageObject* get(Role role) const { return roles[static_cast<size_t>(role)]; }
};

// Turns layout tables into controls. It is the only code that makes the page's
// controls; the displays, which need the page's own settings, come from hooks.
class PageBuilder {
public:
    struct Hooks {
        std::function<TextStyleRecord(TextStyle)> style;
        // The filter response display, at the row's absolute position.
        std::function<std::unique_ptr<CControl>(CCRect rect)> filterDisplay;
        // An LFO display of filter 0 or 1, at the row's rectangle relative to its panel.
        std::function<std::unique_ptr<CControl>(CCRect rect, int32_t filter)> lfoDisplay;
        // A library list of that kind, at the row's rectangle relative to its panel.
        std::function<std::unique_ptr<CControl>(CCRect rect, int32_t tag, LibraryListKind kind)> list;
    };

    explicit PageBuilder(Hooks hooks);

    // Adds the rows' controls to `parent` (rectangles relative to it); inside a
    // filter panel, parameter tags are offset for `filter`.
    void build(CCPageObject& parent, std::span<const LayoutRow> rows, int32_t filter = -1);
    BuiltPage& result() { return built; }

    // The tag a row gets in filter `filter`'s panel (-1: outside any).
    static int32_t tagFor(const LayoutRow& row, int32_t filter);
    // The image a row shows in filter `filter`'s panel.
    static int32_t imageFor(const LayoutRow& row, int32_t filter);
    // The value text under a knob at `knob` (relative rectangle).
    static CCRect valueTextRect(const CCRect& knob);

private:
    std::unique_ptr<CControl> make(const LayoutRow& row, int32_t tag, int32_t filter);
    void applyStyle(CControl& control, TextStyle style);
    void fillMenu(CControl& control, int32_t tag, RowKind kind, MenuSource source);

    Hooks hooks;
    BuiltPage built;
};
