// The page's tables as built: every preset parameter bound once, every image
// there at the size its row needs, nothing drawn over anything else by
// accident, and a full reload that shows the pedal's values and writes nothing.
#include <map>
#include <vector>

#include "editor/layout/page_builder.h"
#include "main_page_support.h"
#include "model/pedal_parameters.h"
#include "resources/resource_ids.h"
#include "toolkit/bitmap_registry.h"
#include "toolkit/controls/menu_selector_ex.h"

using namespace tovan;

namespace {

constexpr int32_t kFirstPresetTabParameter = 9;
constexpr int32_t kLastPresetTabParameter = 91;

// One row placed in window coordinates, with the groups it shows under: a row
// inside sub-panel group 2 of panel P never meets one inside group 4 of P.
struct Placed {
    const LayoutRow* row;
    CCRect rect;
    std::map<const void*, uint16_t> groups;
    int32_t filter;
    const LayoutRow* knob = nullptr; // for a knob's value text: its knob, which it may touch
    CCRect panel{};                  // the panel it is drawn in, which clips it
};

void place(std::span<const LayoutRow> rows, CCRect panel, std::map<const void*, uint16_t> groups,
           int32_t filter, std::vector<Placed>& out) {
    for (const LayoutRow& row : rows) {
        const CCRect rect = row.rect.offset(panel.left, panel.top);
        if (row.kind != RowKind::Panel) {
            out.push_back({&row, rect, groups, filter, nullptr, panel});
            if (row.kind == RowKind::Pot) {
                // Its value text, which the builder adds under it.
                static const LayoutRow text{.kind = RowKind::Field};
                out.push_back({&text, PageBuilder::valueTextRect(row.rect).offset(panel.left, panel.top),
                               groups, filter, &row, panel});
            }
            continue;
        }
        if (row.flags & kRowMayOverlap) continue; // an overlay shown over everything
        auto inner = groups;
        if (row.group != 0) inner[rows.data()] = row.group;
        const auto children = row.childTable != nullptr ? row.childTable() : row.children;
        place(children, rect, inner, row.filter >= 0 ? row.filter : filter, out);
    }
}

std::vector<Placed> wholePage() {
    std::vector<Placed> out;
    place(layout::frameRows(), {0, 0, 640, 650}, {}, -1, out);
    return out;
}

bool canShowTogether(const Placed& a, const Placed& b) {
    for (const auto& [panel, group] : a.groups) {
        auto other = b.groups.find(panel);
        if (other != b.groups.end() && (other->second & group) == 0) return false;
    }
    return true;
}

TEST(MainPageLayout, NoTwoControlsOverlapUnlessTheTableSaysSo) {
    const std::vector<Placed> rows = wholePage();
    for (size_t i = 0; i < rows.size(); ++i) {
        for (size_t j = i + 1; j < rows.size(); ++j) {
            const Placed& a = rows[i];
            const Placed& b = rows[j];
            if ((a.row->flags | b.row->flags) & kRowMayOverlap) continue;
            if (!canShowTogether(a, b) || a.knob == b.row || b.knob == a.row) continue;
            EXPECT_TRUE(a.rect.intersected(b.rect).isEmpty())
                << "rows with tags " << a.row->tag << " and " << b.row->tag << " ("
                << (a.row->text ? a.row->text : "") << "/" << (b.row->text ? b.row->text : "") << ") at "
                << a.rect.left << "," << a.rect.top << " and " << b.rect.left << "," << b.rect.top;
        }
    }
}

// A panel clips what it holds: a control reaching past its panel's edge shows cut off.
TEST(MainPageLayout, EveryControlShowsWhollyInsideItsPanel) {
    for (const Placed& p : wholePage()) {
        EXPECT_EQ(p.rect.intersected(p.panel), p.rect)
            << "tag " << p.row->tag << " (" << (p.row->text ? p.row->text : "") << ") at " << p.rect.left
            << "," << p.rect.top << " leaves its panel at " << p.panel.left << "," << p.panel.top;
    }
}

// The size an image must have for its row, or nothing when only its height is fixed.
struct Expected {
    int32_t image;
    CCSize size;
    bool heightOnly;
};

std::vector<Expected> expectedImages(const Placed& p) {
    const LayoutRow& row = *p.row;
    const int32_t w = row.rect.right - row.rect.left;
    const int32_t h = row.rect.bottom - row.rect.top;
    switch (row.kind) {
    case RowKind::Button:
        return {{row.images[0], {w * row.frames, h}, false}};
    case RowKind::Lamp:
        return {{row.images[0], {w * 2, h}, false}};
    case RowKind::Picture:
        return {{PageBuilder::imageFor(row, p.filter), {w, h}, false}};
    case RowKind::Field:
    case RowKind::Menu:
    case RowKind::MenuEx:
        return row.images[0] != 0 ? std::vector<Expected>{{row.images[0], {0, h}, true}}
                                  : std::vector<Expected>{};
    case RowKind::Radio: {
        std::vector<Expected> out;
        const int32_t member = w - (row.members - 1) * row.spacing;
        for (int32_t i = 0; i < row.members; ++i)
            out.push_back({row.images[static_cast<size_t>(i)], {member, h}, false});
        return out;
    }
    case RowKind::Positions: {
        std::vector<Expected> out;
        for (int32_t i = 0; i < row.members; ++i)
            out.push_back({row.images[static_cast<size_t>(i)], {0, h}, true});
        return out;
    }
    case RowKind::Progress:
        return {{row.images[0], {w, h}, false}, {row.images[1], {w, h}, false}};
    default:
        return {};
    }
}

TEST_F(EditorTest, EveryImageThePageNamesExistsAtItsSize) {
    std::vector<Placed> rows = wholePage();
    place(layout::progressRows(), {0, 0}, {}, -1, rows);
    for (const Placed& p : rows) {
        for (const Expected& e : expectedImages(p)) {
            const CCSize size = bitmapSize(e.image);
            EXPECT_GT(size.width, 0) << "image " << e.image << " is missing";
            if (e.heightOnly)
                EXPECT_EQ(size.height, e.size.height) << "image " << e.image;
            else
                EXPECT_EQ(size, e.size) << "image " << e.image;
        }
        if (p.row->kind == RowKind::Positions) {
            // Each position's frame (half a two-frame strip) fits its spacing.
            for (int32_t i = 0; i < p.row->members; ++i)
                EXPECT_LE(bitmapSize(p.row->images[static_cast<size_t>(i)]).width / 2, p.row->spacing);
        }
        if (p.row->kind == RowKind::Pot) {
            const CCSize strip = bitmapSize(p.row->images[0]);
            EXPECT_EQ(strip.height, 34);
            EXPECT_EQ(strip.width % 32, 0);
            EXPECT_GE(strip.width / 32, 64) << "enough frames to turn smoothly";
        }
    }
    EXPECT_EQ(bitmapSize(resid::kPageBody), (CCSize{640, 650}));
    EXPECT_EQ(bitmapSize(resid::kBusyPanel), (CCSize{200, 48}));
}

TEST_F(MainPageTest, EveryPresetParameterHasExactlyOneBoundControl) {
    for (int32_t tag = kFirstPresetTabParameter; tag <= kLastPresetTabParameter; ++tag) {
        std::vector<CCPageObject*> found;
        page->visitDescendants([&](CCPageObject& o) {
            if (o.getTag() == tag) found.push_back(&o);
            return false;
        });
        ASSERT_EQ(found.size(), 1u) << "parameter " << tag;
        EXPECT_EQ(process->GetBinding(tag), found[0]) << "parameter " << tag;
    }
}

// Where each preset-tab parameter lives on the pedal: filter, command, item,
// written out from the pedal's field map (commands 5, 6 and 7).
struct PedalAddress {
    int32_t tag;
    uint8_t filter;
    uint16_t command;
    uint8_t item;
};

std::vector<PedalAddress> presetTabAddresses() {
    std::vector<PedalAddress> out;
    const uint8_t common[] = {0, 1, 2, 4, 3};
    for (uint8_t k = 0; k < 5; ++k)
        out.push_back({9 + k, 0, 5, common[k]});
    const uint8_t control[] = {0,  1,  2,  3,  4,  5,  23, 6,  24, 7,  8,  9,  10, 19, 20, 21,
                               26, 11, 22, 12, 13, 25, 27, 30, 28, 29, 31, 14, 15, 16, 17, 18};
    for (uint8_t filter = 0; filter < 2; ++filter) {
        const int32_t first = filter == 0 ? 14 : 53;
        for (uint8_t k = 0; k < 7; ++k)
            out.push_back({first + k, filter, 6, k});
        for (uint8_t k = 0; k < 32; ++k)
            out.push_back({first + 7 + k, filter, 7, control[k]});
    }
    return out;
}

TEST_F(MainPageTest, AFullReloadShowsThePedalsValuesAndWritesNothing) {
    // A value of its own in every field (the pedal keeps it inside the field's
    // range), the two filters' values apart; the tapers below their middle, to
    // show their offset of 9. Each filter's trapezoid rise and fall stay within
    // their shared period (a sum of 100), which the page would enforce.
    const std::vector<PedalAddress> addresses = presetTabAddresses();
    ASSERT_EQ(addresses.size(), static_cast<size_t>(kLastPresetTabParameter - kFirstPresetTabParameter + 1));
    for (const PedalAddress& a : addresses) {
        const int16_t value = a.tag == 19   ? -4
                              : a.tag == 58 ? -7
                                            : static_cast<int16_t>(a.filter == 0 ? a.tag - 7 : a.tag - 40);
        ASSERT_TRUE(pedal().turnControl(a.command, a.filter, a.item, value)) << a.tag;
    }
    backend.clear();
    process->session().reloadLocked(true);
    EXPECT_EQ(backend.writeCount(), 0u);
    for (const PedalAddress& a : addresses) {
        const int32_t onPedal = pedal().value(a.command, a.filter, a.item);
        const int32_t expected = a.tag == 19 || a.tag == 58 ? onPedal + 9 : onPedal;
        EXPECT_EQ(valueOf(a.tag), expected) << "parameter " << a.tag;
    }
    EXPECT_EQ(valueOf(19), 5) << "taper of filter 1 at Lo 4";
    EXPECT_EQ(valueOf(58), 2) << "taper of filter 2 at Lo 7";
}

TEST_F(MainPageTest, ValuesShowAsTheParameterFormatsThem) {
    // Tenths show one decimal, names show as names.
    turn(ptag::kTempo, 1205);
    EXPECT_EQ(control(ptag::kTempo)->getText(), "120.5");
    turn(ptag::kLfoShape, 1);
    EXPECT_EQ(control(ptag::kLfoShape)->getText(), "Triangle");
    turn(ptag::kSyncSource, 4);
    EXPECT_EQ(control(ptag::kSyncSource)->getText(), "MIDI sync");
    std::vector<int32_t> values;
    static_cast<CCMenuSelectorEx*>(control(ptag::kSyncSource))->menu().collectValues(values);
    EXPECT_EQ(values, (std::vector<int32_t>{0, 2, 3, 4})) << "no F1 sync for filter 1";
    values.clear();
    static_cast<CCMenuSelectorEx*>(control(ptag::ofFilter(ptag::kSyncSource, 1)))
        ->menu()
        .collectValues(values);
    EXPECT_EQ(values, (std::vector<int32_t>{0, 1, 2, 3, 4}));
}

} // namespace
