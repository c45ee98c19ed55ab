#include "editor/layout/page_builder.h"

#include <cstdio>
#include <stdexcept>
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

// The controls' constructors take their settings by position; these name them.
// Each control is made in one place, from a placement and the settings of its
// kind, so a reader of the builder sees what every number is.

// Where a control goes: its tag, its rectangle relative to its parent and its group.
struct Placement {
    int32_t tag;
    CCRect rect;
    uint16_t group;
};

// The page's controls talk to the page manager, never to a listener of their own.
CCPageObject* const kNoListener = nullptr;

struct TextLook {
    int32_t background; // image under the text, 0 for none
    std::string text;
    int32_t alignment;
};
std::unique_ptr<CCStaticTextCtrl> makeStaticText(const Placement& at, const TextLook& look) {
    const CCRect& r = at.rect;
    return std::make_unique<CCStaticTextCtrl>(at.tag, r.left, r.top, r.right, r.bottom, look.text,
                                              look.background, look.alignment, kNoListener, at.group);
}

struct IndicatorLook {
    int32_t strip;
    int32_t frames;
    // The values of the first and the last frame.
    int32_t minimum;
    int32_t maximum;
};
std::unique_ptr<CCIndicator> makeIndicator(const Placement& at, const IndicatorLook& look) {
    const CCRect& r = at.rect;
    return std::make_unique<CCIndicator>(at.tag, r.left, r.top, r.right, r.bottom, look.strip, look.frames,
                                         look.minimum, look.maximum, kNoListener, at.group);
}

std::unique_ptr<CCPanel> makePanel(const Placement& at, int32_t background) {
    const CCRect& r = at.rect;
    return std::make_unique<CCPanel>(at.tag, r.left, r.top, r.right, r.bottom, background, kNoListener,
                                     at.group);
}

struct PotLook {
    int32_t strip;
    // The parameter the knob binds to gives it its range and value.
    int32_t minimum = 0;
    int32_t maximum = 0;
    int32_t value = 0;
};
std::unique_ptr<CCPotControl> makePot(const Placement& at, const PotLook& look) {
    const CCRect& r = at.rect;
    return std::make_unique<CCPotControl>(at.tag, r.left, r.top, r.right, r.bottom, look.minimum,
                                          look.maximum, look.strip, look.value, kNoListener, at.group);
}

struct FieldLook {
    int32_t well; // image under the text, 0 for none
    bool editable;
};
std::unique_ptr<CCTextCtrl> makeTextField(const Placement& at, const FieldLook& look) {
    const CCRect& r = at.rect;
    return std::make_unique<CCTextCtrl>(at.tag, r.left, r.top, r.right, r.bottom, look.well, kNoListener,
                                        at.group, look.editable);
}

struct TextButtonLook {
    int32_t background;
    std::string caption;
    bool toggles;
};
std::unique_ptr<CCTextButton> makeTextButton(const Placement& at, const TextButtonLook& look) {
    const CCRect& r = at.rect;
    return std::make_unique<CCTextButton>(at.tag, r.left, r.top, r.right, r.bottom, look.background,
                                          look.caption, look.toggles, kNoListener, at.group);
}

template <typename Selector>
std::unique_ptr<Selector> makeSelector(const Placement& at, int32_t well) {
    const CCRect& r = at.rect;
    return std::make_unique<Selector>(at.tag, r.left, r.top, r.right, r.bottom, well, kNoListener, at.group);
}

struct ButtonLook {
    int32_t image;
    CCButtonMode mode;
    int32_t frames;
};
std::unique_ptr<CCOnOffButton> makeButton(const Placement& at, const ButtonLook& look) {
    const CCRect& r = at.rect;
    return std::make_unique<CCOnOffButton>(at.tag, r.left, r.top, r.right, r.bottom, look.image, look.mode,
                                           kNoListener, at.group, look.frames);
}

struct ProgressLook {
    int32_t track;
    int32_t fill;
    int32_t maximum;
};
std::unique_ptr<CCSimpleProgress> makeProgress(const Placement& at, const ProgressLook& look) {
    const CCRect& r = at.rect;
    return std::make_unique<CCSimpleProgress>(at.tag, r.left, r.top, r.right, r.bottom, look.track, look.fill,
                                              look.maximum, kNoListener, at.group);
}

// A radio button's or a position row's members, drawn side by side.
template <typename Group>
std::unique_ptr<Group> makeGroup(const Placement& at) {
    const CCRect& r = at.rect;
    return std::make_unique<Group>(at.tag, r.left, r.top, r.right, r.bottom, /*bitmapId=*/0, kNoListener,
                                   at.group);
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

void PageBuilder::fillMenu(CControl& control, int32_t tag, RowKind kind, MenuSource source) {
    if (kind == RowKind::MenuEx && source == MenuSource::Programs) {
        buildProgramMenu(static_cast<CCMenuSelectorEx&>(control).menu());
        return;
    }
    if (kind == RowKind::MenuEx && source == MenuSource::Controllers) {
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
    const Placement at{.tag = tag, .rect = row.rect, .group = row.group};
    const int32_t image = imageFor(row, filter);
    switch (row.kind) {
    case RowKind::Label: {
        const int32_t alignment = hooks.style ? hooks.style(row.style).alignment : kAlignCentre;
        return makeStaticText(at,
                              {.background = image, .text = rowText(row, filter), .alignment = alignment});
    }
    case RowKind::Picture:
        return makeIndicator(at, {.strip = image, .frames = row.frames, .minimum = 0, .maximum = 0});
    case RowKind::Panel:
        return makePanel(at, image);
    case RowKind::Pot:
        return makePot(at, {.strip = image});
    case RowKind::Field: {
        auto field = makeTextField(at, {.well = image, .editable = row.edit != FieldKind::Display});
        if (row.edit == FieldKind::OwnText) field->setFormatsOwnText(true);
        if (row.flags & kRowReportsTyping) field->setReportsTyping(true);
        if (row.maxLength > 0) field->setMaxLength(row.maxLength);
        return field;
    }
    case RowKind::TextButton:
        return makeTextButton(at, {.background = image,
                                   .caption = rowText(row, filter),
                                   .toggles = row.press == PressKind::Toggle});
    case RowKind::Menu: {
        auto menu = makeSelector<CCMenuSelector>(at, image);
        fillMenu(*menu, tag, row.kind, row.source);
        return menu;
    }
    case RowKind::MenuEx: {
        auto menu = makeSelector<CCMenuSelectorEx>(at, image);
        fillMenu(*menu, tag, row.kind, row.source);
        return menu;
    }
    case RowKind::Button:
        return makeButton(at, {.image = image, .mode = row.buttonMode, .frames = row.frames});
    case RowKind::Radio: {
        auto radio = makeGroup<CCRadioButton>(at);
        const CCRect& r = row.rect;
        const int32_t memberWidth = r.right - r.left - (row.members - 1) * row.spacing;
        for (int32_t i = 0; i < row.members; ++i) {
            const int32_t x = i * row.spacing;
            const Placement member{
                .tag = kTagNone, .rect = {x, 0, x + memberWidth, r.bottom - r.top}, .group = 0};
            radio->addMember(makeButton(
                member,
                {.image = row.images[static_cast<size_t>(i)], .mode = kButtonSetOnly, .frames = row.frames}));
        }
        return radio;
    }
    case RowKind::Positions: {
        auto positions = makeGroup<CCSimpleRadioButton>(at);
        for (int32_t i = 0; i < row.members; ++i)
            positions->addPosition(i * row.spacing, 0, row.images[static_cast<size_t>(i)], row.frames);
        return positions;
    }
    case RowKind::Lamp:
        return makeIndicator(at, {.strip = image, .frames = row.frames, .minimum = 0, .maximum = 1});
    case RowKind::Progress:
        return makeProgress(at,
                            {.track = row.images[0], .fill = row.images[1], .maximum = row.progressMaximum});
    case RowKind::Display:
        return hooks.filterDisplay ? hooks.filterDisplay(row.rect) : nullptr;
    case RowKind::LfoDisplay:
        return hooks.lfoDisplay ? hooks.lfoDisplay(row.rect, filter < 0 ? 0 : filter) : nullptr;
    case RowKind::List:
        return hooks.list ? hooks.list(row.rect, tag, row.list) : nullptr;
    }
    return nullptr;
}

void PageBuilder::build(CCPageObject& parent, std::span<const LayoutRow> rows, int32_t filter) {
    for (const LayoutRow& row : rows) {
        if (const char* mismatch = rowMismatch(row))
            throw std::invalid_argument("layout row of tag " + std::to_string(row.tag) + ": " + mismatch);
        const int32_t tag = tagFor(row, filter);
        std::unique_ptr<CControl> made = make(row, tag, filter);
        if (!made) continue;
        if (row.flags & kRowGroupSelector) made->setGroupSelector(1, true);
        applyStyle(*made, row.style);
        CControl* control = parent.addChild(std::move(made));
        if (row.flags & kRowHidden) control->setVisible(false);

        if (row.kind == RowKind::Pot) {
            const CCRect text = valueTextRect(row.rect);
            auto value = makeTextField({.tag = etag::kDisplay, .rect = text, .group = row.group},
                                       {.well = 0, .editable = false});
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
