#pragma once

#include "toolkit/geometry.h"

// The house colours, named once: everything drawn in code takes its colour
// from here (the art generator paints the images in the same ones).
namespace palette {

// Texts, marks and lines on the dark page.
inline constexpr CCColour kCream{255, 250, 208, 255};
inline constexpr CCColour kCreamHover{255, 240, 205, 255};
// Captions beside controls.
inline constexpr CCColour kLabel{196, 186, 146, 255};
// Greyed art and shading.
inline constexpr CCColour kStone{150, 142, 116, 255};
// Frames of wells, lists and charts.
inline constexpr CCColour kFrame{118, 113, 91, 255};
// The accent: needles, fills, the current item's edge.
inline constexpr CCColour kAmber{255, 170, 40, 255};
// The accent of lit texts and button art: a lighter amber, which reads better
// on small type than the needles' one.
inline constexpr CCColour kAmberLit{255, 178, 70, 255};
// A threshold meter's level below and above its mark.
inline constexpr CCColour kEmber{150, 96, 30, 255};
inline constexpr CCColour kAmberHigh{255, 190, 70, 255};
inline constexpr CCColour kWhite{255, 255, 255, 255};
inline constexpr CCColour kBlack{0, 0, 0, 255};
// Wells: the ground of grooves, lists and meters.
inline constexpr CCColour kWell{20, 15, 12, 255};
// A floating list's body, nearly opaque.
inline constexpr CCColour kListBody{28, 22, 18, 245};
// The selected or hovered row of a list.
inline constexpr CCColour kRowSelected{96, 62, 22, 255};
inline constexpr CCColour kRowHover{58, 47, 38, 255};
// The librarian's lists: their ground, every other row, frame and scroll thumb.
inline constexpr CCColour kListWell{24, 20, 16, 255};
inline constexpr CCColour kListOddRow{32, 27, 22, 255};
inline constexpr CCColour kListFrame{92, 84, 60, 255};
inline constexpr CCColour kScrollThumb{150, 136, 96, 255};
// The veil over the page while a modal panel is up.
inline constexpr CCColour kVeil{12, 9, 7, 150};

// The colour with another opacity.
constexpr CCColour withAlpha(CCColour colour, uint8_t alpha) {
    colour.alpha = alpha;
    return colour;
}

// A tint of button art (drawn in cream and white) toward the colour.
constexpr CCTint tintOf(CCColour colour) {
    return {colour.red, colour.green, colour.blue, 0};
}

} // namespace palette
