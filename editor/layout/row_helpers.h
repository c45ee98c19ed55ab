#pragma once

// Short forms for the layout tables, so that each row reads as one line.
#include "editor/editor_tags.h"
#include "editor/layout/layout_row.h"
#include "resources/resource_ids.h"
#include "toolkit/controls/on_off_button.h"
#include "toolkit/messages.h"

namespace layout::rows {

inline constexpr int32_t kKnobWidth = 32;
inline constexpr int32_t kKnobHeight = 34;

constexpr CCRect at(int32_t x, int32_t y, int32_t w, int32_t h) {
    return {x, y, x + w, y + h};
}

constexpr LayoutRow label(CCRect r, const char* text, int32_t follows = 0,
                          TextStyle style = TextStyle::Label) {
    return {.kind = RowKind::Label, .rect = r, .style = style, .text = text, .follows = follows};
}

// A knob's caption, centred over it.
constexpr LayoutRow knobLabel(int32_t x, int32_t y, const char* text, int32_t follows) {
    return label(at(x - 8, y - 12, kKnobWidth + 16, 12), text, follows, TextStyle::KnobLabel);
}

constexpr LayoutRow pot(int32_t tag, int32_t x, int32_t y) {
    return {.kind = RowKind::Pot,
            .tag = tag,
            .rect = at(x, y, kKnobWidth, kKnobHeight),
            .images = {resid::kKnobStrip},
            .style = TextStyle::Value};
}

// A text field that edits its parameter's value.
constexpr LayoutRow field(int32_t tag, CCRect r) {
    return {.kind = RowKind::Field,
            .tag = tag,
            .rect = r,
            .images = {resid::kFieldWell},
            .style = TextStyle::Value,
            .edit = FieldKind::Value};
}

constexpr LayoutRow menu(int32_t tag, CCRect r, int32_t well = resid::kSelectorWell) {
    return {.kind = RowKind::Menu, .tag = tag, .rect = r, .images = {well}, .style = TextStyle::Value};
}

constexpr LayoutRow menuEx(int32_t tag, CCRect r, int32_t well, Role role = Role::None) {
    return {.kind = RowKind::MenuEx,
            .tag = tag,
            .rect = r,
            .images = {well},
            .style = TextStyle::Value,
            .role = role};
}

constexpr LayoutRow button(int32_t tag, CCRect r, int32_t image, CCButtonMode mode, int32_t frames = 1,
                           Role role = Role::None, uint8_t flags = 0) {
    return {.kind = RowKind::Button,
            .tag = tag,
            .rect = r,
            .images = {image},
            .buttonMode = mode,
            .frames = frames,
            .flags = flags,
            .role = role};
}

// A switch parameter's on/off button.
constexpr LayoutRow toggle(int32_t tag, int32_t x, int32_t y) {
    return button(tag, at(x, y, 24, 12), resid::kSwitchButton, kButtonToggle);
}

constexpr LayoutRow lamp(int32_t tag, CCRect r, int32_t strip, Role role) {
    return {.kind = RowKind::Lamp, .tag = tag, .rect = r, .images = {strip}, .frames = 2, .role = role};
}

constexpr LayoutRow panel(CCRect r, std::span<const LayoutRow> children, uint16_t group = 0,
                          Role role = Role::None, int32_t image = 0) {
    return {.kind = RowKind::Panel,
            .tag = kTagNone,
            .rect = r,
            .images = {image},
            .group = group,
            .role = role,
            .children = children};
}

} // namespace layout::rows
