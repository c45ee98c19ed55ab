#include "toolkit/controls/flashing_on_off_button.h"

#include "toolkit/draw_context.h"

namespace {

enum Frame : int32_t { kLit = 0, kDark = 1, kPressed = 2 };

} // namespace

CCFlashingOnOffButton::CCFlashingOnOffButton(int32_t tag, int32_t left, int32_t top, int32_t right,
                                             int32_t bottom, int32_t stripId, int32_t buttonMode,
                                             CCPageObject* listener, uint16_t groupMask, const Clock* c)
    : CCTimedOnOffButton(tag, left, top, right, bottom, stripId, buttonMode, listener, groupMask, 3, c,
                         kTickMs) {}

int32_t CCFlashingOnOffButton::currentFrame() const {
    if (isPressed()) return kPressed;
    if (!value) return kDark;
    return (onFor() / kPhaseMs) % 2 == 0 ? kLit : kDark;
}

void CCFlashingOnOffButton::tick() {
    // Redrawn only when the phase has turned.
    if (currentFrame() != drawnFrame) invalidate(true);
}

void CCFlashingOnOffButton::drawContent(CCDrawContext& ctx) {
    drawnFrame = currentFrame();
    if (strip) ctx.drawFrame(*strip, {bounds.left, bounds.top}, drawnFrame);
}
