#include "editor/layout/page_builder.h"

#include <cstdio>
#include <string>

#include "editor/editor_tags.h"
#include "editor/midi_menus.h"
#include "model/pedal_parameters.h"
#include "model/pedal_values.h"
#include "toolkit/controls/indicator.h"
#include "toolkit/controls/menu_selector.h"
#include "toolkit/controls/menu_selector_ex.h"
#include "toolkit/controls/on_off_button.h"
#include "toolkit/controls/panel.h"
#include "toolkit/controls/pot_control.h"
#include "toolkit/controls/radio_button.h"
#include "toolkit/controls/simple_progress.h"
#include "toolkit/controls/simple_radio_button.h"
#include "toolkit/controls/static_text_ctrl.h"
#include "toolkit/controls/text_button.h"
#include "toolkit/controls/text_ctrl.h"
#include "toolkit/font.h"
#include "toolkit/palette.h"

namespace {

constexpr int32_t kFirstFilterTag = ptag::kToeHeight;
constexpr int32_t kLastFilterTag = ptag::kToeHeight + kFilterStride - 1;

std::string rowText(const LayoutRow& row, int32_t filter) {
    if (row.text == nullptr) return {};
    if (!(row.flags & kRowNumbered)) return row.text;
    char text[64];
    std::snprintf(text, sizeof text, row.text, row.number != 0 ? row.number : filter < 0 ? 1 : filter + 1);
    return text;
}

} // namespace

PageBuilder::PageBuilder(Hooks hooks) : hooks(std::move(hooks)) {}

int32_t PageBuilder::tagFor(const LayoutRow& row, int32_t filter) {
    if (filter <= 0) return row.tag;
    if (row.flags & kRowCommandPerFilter) return row.tag + filter;
    if (row.tag >= kFirstFilterTag && row.tag <= kLastFilterTag) return row.tag + kFilterStride * filter;
    return row.tag;
}

int32_t PageBuilder::imageFor(const LayoutRow& row, int32_t filter) {
    return filter > 0 && row.images[1] != 0 && row.kind == RowKind::Picture ? row.images[1] : row.images[0];
}

CCRect PageBuilder::valueTextRect(const CCRect& knob) {
    // Under the knob, a little wider than it so that "-12.5 dB" still fits.
    return {knob.left - 7, knob.top + 30, knob.right + 7, knob.top + 43};
}

void PageBuilder::applyStyle(CControl& control, TextStyle style) {
    if (style == TextStyle::None || !hooks.style) return;
    const TextStyleRecord record = hooks.style(style);
    if (record.font != nullptr) control.setFont(record.font);
    if (auto* text = dynamic_cast<CCTextCtrl*>(&control)) text->setAlignment(record.alignment);
    if (auto* text = dynamic_cast<CCStaticTextCtrl*>(&control)) text->setAlignment(record.alignment);
    if (auto* menu = dynamic_cast<CCMenuSelector*>(&control)) menu->setAlignment(record.alignment);
    if (auto* menu = dynamic_cast<CCMenuSelectorEx*>(&control)) menu->setAlignment(record.alignment);
    if (auto* button = dynamic_cast<CCTextButton*>(&control)) {
        // Pressed and on in the same face and size: white, then amber.
        if (auto* face = dynamic_cast<CCFont*>(record.font)) {
            CCFontDescriptor pressed = face->getDescriptor();
            pressed.colour = palette::kWhite;
            CCFontDescriptor on = face->getDescriptor();
            on.colour = palette::kAmberLit;
            button->setFonts(face, getFont(pressed), getFont(on));
        }
    }
}

void PageBuilder::fillMenu(CControl& control, int32_t tag, RowKind kind, int32_t source) {
    if (kind == RowKind::MenuEx && source == kMenuPrograms) {
        buildProgramMenu(static_cast<CCMenuSelectorEx&>(control).menu());
        return;
    }
    if (kind == RowKind::MenuEx && source == kMenuControllers) {
        buildControllerMenu(static_cast<CCMenuSelectorEx&>(control).menu());
        return;
    }
    const auto names = valueNames(tag);
    if (names.empty()) return;
    if (kind == RowKind::Menu) {
        auto& menu = static_cast<CCMenuSelector&>(control);
        for (std::string_view name : names)
            menu.addItem(name);
        return;
    }
    auto& menu = static_cast<CCMenuSelectorEx&>(control);
    const auto choices = syncSourceChoices(tag);
    if (!choices.empty()) {
        for (int32_t value : choices)
            menu.menu().addItem(names[static_cast<size_t>(value)], value);
        return;
    }
    for (size_t value = 0; value < names.size(); ++value)
        menu.menu().addItem(names[value], static_cast<int32_t>(value));
}

std::unique_ptr<CControl> PageBuilder::make(const LayoutRow& row, int32_t tag, int32_t filter) {
    const CCRect& r = row.rect;
    const int32_t image = imageFor(row, filter);
    switch (row.kind) {
    case RowKind::Label: {
        const int32_t alignment = hooks.style ? hooks.style(row.style).alignment : kAlignCentre;
        return std::make_unique<CCStaticTextCtrl>(tag, r.left, r.top, r.right, r.bottom, rowText(row, filter),
                                                  image, alignment, nullptr, row.group);
    }
    case RowKind::Picture:
        return std::make_unique<CCIndicator>(tag, r.left, r.top, r.right, r.bottom, image, 1, 0, 0, nullptr,
                                             row.group);
    case RowKind::Panel:
        return std::make_unique<CCPanel>(tag, r.left, r.top, r.right, r.bottom, image, nullptr, row.group);
    case RowKind::Pot:
        return std::make_unique<CCPotControl>(tag, r.left, r.top, r.right, r.bottom, 0, 0, image, 0, nullptr,
                                              row.group);
    case RowKind::Field: {
        auto field = std::make_unique<CCTextCtrl>(tag, r.left, r.top, r.right, r.bottom, image, nullptr,
                                                  row.group, row.mode != 0);
        if (row.mode == 2) field->setFormatsOwnText(true);
        if (row.flags & kRowReportsTyping) field->setReportsTyping(true);
        if (row.maxLength > 0) field->setMaxLength(row.maxLength);
        return field;
    }
    case RowKind::TextButton:
        return std::make_unique<CCTextButton>(tag, r.left, r.top, r.right, r.bottom, image,
                                              rowText(row, filter), row.mode == 1, nullptr, row.group);
    case RowKind::Menu: {
        auto menu = std::make_unique<CCMenuSelector>(tag, r.left, r.top, r.right, r.bottom, image, nullptr,
                                                     row.group);
        fillMenu(*menu, tag, row.kind, row.mode);
        return menu;
    }
    case RowKind::MenuEx: {
        auto menu = std::make_unique<CCMenuSelectorEx>(tag, r.left, r.top, r.right, r.bottom, image, nullptr,
                                                       row.group);
        fillMenu(*menu, tag, row.kind, row.mode);
        return menu;
    }
    case RowKind::Button:
        return std::make_unique<CCOnOffButton>(tag, r.left, r.top, r.right, r.bottom, image, row.mode,
                                               nullptr, row.group, row.frames);
    case RowKind::Radio: {
        auto radio =
            std::make_unique<CCRadioButton>(tag, r.left, r.top, r.right, r.bottom, 0, nullptr, row.group);
        const int32_t memberWidth = r.right - r.left - (row.frames - 1) * row.spacing;
        for (int32_t i = 0; i < row.frames; ++i) {
            const int32_t x = i * row.spacing;
            radio->addMember(
                std::make_unique<CCOnOffButton>(kTagNone, x, 0, x + memberWidth, r.bottom - r.top,
                                                row.images[static_cast<size_t>(i)], kButtonSetOnly));
        }
        return radio;
    }
    case RowKind::Positions: {
        auto positions = std::make_unique<CCSimpleRadioButton>(tag, r.left, r.top, r.right, r.bottom, 0,
                                                               nullptr, row.group);
        for (int32_t i = 0; i < row.frames; ++i)
            positions->addPosition(i * row.spacing, 0, row.images[static_cast<size_t>(i)], 2);
        return positions;
    }
    case RowKind::Lamp:
        return std::make_unique<CCIndicator>(tag, r.left, r.top, r.right, r.bottom, image, 2, 0, 1, nullptr,
                                             row.group);
    case RowKind::Progress:
        return std::make_unique<CCSimpleProgress>(tag, r.left, r.top, r.right, r.bottom, row.images[0],
                                                  row.images[1], row.mode, nullptr, row.group);
    case RowKind::Display:
        return hooks.filterDisplay ? hooks.filterDisplay(r) : nullptr;
    case RowKind::LfoDisplay:
        return hooks.lfoDisplay ? hooks.lfoDisplay(r, filter < 0 ? 0 : filter) : nullptr;
    case RowKind::List:
        return hooks.list ? hooks.list(r, tag, row.mode) : nullptr;
    }
    return nullptr;
}

void PageBuilder::build(CCPageObject& parent, std::span<const LayoutRow> rows, int32_t filter) {
    for (const LayoutRow& row : rows) {
        const int32_t tag = tagFor(row, filter);
        std::unique_ptr<CControl> made = make(row, tag, filter);
        if (!made) continue;
        if (row.flags & kRowGroupSelector) made->setGroupSelector(1, true);
        applyStyle(*made, row.style);
        CControl* control = parent.addChild(std::move(made));
        if (row.flags & kRowHidden) control->setVisible(false);

        if (row.kind == RowKind::Pot) {
            const CCRect text = valueTextRect(row.rect);
            auto value = std::make_unique<CCTextCtrl>(etag::kDisplay, text.left, text.top, text.right,
                                                      text.bottom, 0, nullptr, row.group);
            applyStyle(*value, TextStyle::Value);
            value->setAlignment(kAlignCentre);
            control->setLinkedText(parent.addChild(std::move(value)));
        }
        Role role = row.role;
        if (row.kind == RowKind::LfoDisplay) role = filter > 0 ? Role::LfoDisplay2 : Role::LfoDisplay1;
        if (role != Role::None) built.roles[static_cast<size_t>(role)] = control;
        if (row.follows != 0) {
            LayoutRow followed = row;
            followed.tag = row.follows;
            built.followers.push_back({control, tagFor(followed, filter)});
        }

        if (row.kind == RowKind::Panel) {
            const int32_t inner = row.filter >= 0 ? row.filter : filter;
            build(*control, row.childTable != nullptr ? row.childTable() : row.children, inner);
        }
    }
}
