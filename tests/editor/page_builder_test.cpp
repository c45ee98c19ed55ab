// The builder refuses a row whose fields its kind does not read, so a setting
// written into the wrong field fails at once instead of doing nothing.
#include <gtest/gtest.h>

#include <stdexcept>

#include "editor/layout/page_builder.h"
#include "toolkit/controls/panel.h"
#include "toolkit/controls/radio_button.h"
#include "toolkit/controls/simple_progress.h"

namespace {

void buildOne(const LayoutRow& row) {
    CCPanel parent(kTagNone, 0, 0, 200, 100);
    PageBuilder builder({});
    const LayoutRow rows[] = {row};
    builder.build(parent, rows);
}

TEST(PageBuilder, RefusesARowWhoseFieldsDoNotFitItsKind) {
    const CCRect r{0, 0, 100, 10};
    struct Case {
        const char* what;
        LayoutRow row;
    };
    const Case cases[] = {
        {"a menu source on a plain menu",
         {.kind = RowKind::Menu, .rect = r, .source = MenuSource::Controllers}},
        {"an edit kind on a label", {.kind = RowKind::Label, .rect = r, .edit = FieldKind::Value}},
        {"a toggle on a button's mode", {.kind = RowKind::Field, .rect = r, .buttonMode = kButtonToggle}},
        {"a press kind on a button", {.kind = RowKind::Button, .rect = r, .press = PressKind::Toggle}},
        {"a progress maximum on a lamp",
         {.kind = RowKind::Lamp, .rect = r, .progressMaximum = 100, .frames = 2}},
        {"a progress bar without a maximum", {.kind = RowKind::Progress, .rect = r}},
        {"a list kind on a panel",
         {.kind = RowKind::Panel, .rect = r, .list = LibraryListKind::LibraryFiles}},
        {"a radio row without members", {.kind = RowKind::Radio, .rect = r, .spacing = 10}},
        {"more members than images", {.kind = RowKind::Positions, .rect = r, .members = 6, .spacing = 10}},
        {"members on a button", {.kind = RowKind::Button, .rect = r, .members = 2}},
        {"a strip of no frames", {.kind = RowKind::Picture, .rect = r, .frames = 0}},
    };
    for (const Case& c : cases) {
        EXPECT_NE(rowMismatch(c.row), nullptr) << c.what;
        EXPECT_THROW(buildOne(c.row), std::invalid_argument) << c.what;
    }
}

// Each kind reads its own field: a progress bar's maximum, a radio row's members.
TEST(PageBuilder, EachKindReadsItsOwnField) {
    CCPanel parent(kTagNone, 0, 0, 200, 100);
    PageBuilder builder({});
    const LayoutRow rows[] = {
        {.kind = RowKind::Progress, .tag = 20, .rect = {0, 0, 100, 8}, .progressMaximum = 40},
        {.kind = RowKind::Radio,
         .tag = 21,
         .rect = {0, 20, 100, 36},
         .frames = 2,
         .members = 3,
         .spacing = 30},
    };
    builder.build(parent, rows);
    auto* progress = dynamic_cast<CCSimpleProgress*>(parent.findByTag(20));
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->getMaximum(), 40);
    auto* radio = dynamic_cast<CCRadioButton*>(parent.findByTag(21));
    ASSERT_NE(radio, nullptr);
    EXPECT_EQ(radio->memberCount(), 3) << "members, not the strip's frames";
}

} // namespace
