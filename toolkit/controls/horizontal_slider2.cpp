#include "toolkit/controls/horizontal_slider2.h"

#include "toolkit/draw_context.h"
#include "toolkit/palette.h"

namespace {

constexpr CCColour kGroove = palette::kWell;
constexpr CCColour kEdge = palette::kFrame;
constexpr CCColour kFill = palette::kAmber;
constexpr CCColour kHandle = palette::kCream;
constexpr CCColour kHandleShade = palette::kStone;

} // namespace

CCHorizontalSlider2::CCHorizontalSlider2(int32_t tag, int32_t left, int32_t top, int32_t right,
                                         int32_t bottom, int32_t minimum, int32_t maximum, int32_t initial,
                                         CCPageObject* listener, uint16_t groupMask)
    : CCHorizontalSlider(tag, left, top, right, bottom, minimum, maximum, 0, 0, initial, listener,
                         groupMask) {}

void CCHorizontalSlider2::drawContent(CCDrawContext& ctx) {
    const CCRect& b = bounds;
    const int32_t middle = b.top + b.height() / 2;
    const CCRect groove{b.left + 1, middle - 3, b.right - 1, middle + 3};
    ctx.fillRect(groove, kEdge);
    ctx.fillRect({groove.left + 1, groove.top + 1, groove.right - 1, groove.bottom - 1}, kGroove);
    const CCRect h = handleRect(value);
    if (h.left > groove.left + 1)
        ctx.fillRect({groove.left + 1, groove.top + 1, h.left, groove.bottom - 1}, kFill);
    ctx.fillRect(h, kHandleShade);
    ctx.fillRect({h.left + 1, h.top + 1, h.right - 1, h.bottom - 1}, kHandle);
}
