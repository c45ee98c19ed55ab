#include "toolkit/controls/simple_button.h"

#include "toolkit/draw_context.h"

CSimpleButton::CSimpleButton(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                             int32_t stripId, int32_t buttonMode, CCPageObject* listener, uint16_t groupMask)
    : CCOnOffButton(tag, left, top, right, bottom, stripId, buttonMode, listener, groupMask, 2) {}

void CSimpleButton::drawContent(CCDrawContext& ctx) {
    if (!strip) return;
    CCDrawStateSaver saver(ctx);
    if ((mouseOver && isEnabled()) || isPressed()) ctx.setTint(tints.hover);
    ctx.drawFrame(*strip, {bounds.left, bounds.top}, value);
}
