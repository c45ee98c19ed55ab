#include "toolkit/controls/pulse_button.h"

#include "toolkit/draw_context.h"

#include <cmath>
#include <numbers>

CCPulseButton::CCPulseButton(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                             int32_t stripId, int32_t buttonMode, CCPageObject* listener, uint16_t groupMask,
                             const Clock* c)
    : CCTimedOnOffButton(tag, left, top, right, bottom, stripId, buttonMode, listener, groupMask, 2, c,
                         kTickMs) {}

uint8_t CCPulseButton::glowOpacity() const {
    if (!value) return 0;
    const uint32_t within = onFor() % kPulseMs;
    const double phase = 2 * std::numbers::pi * within / kPulseMs;
    return uint8_t(std::lround(127.5 * (1 - std::cos(phase))));
}

void CCPulseButton::drawContent(CCDrawContext& ctx) {
    if (!strip) return;
    CCDrawStateSaver saver(ctx);
    const uint8_t full = ctx.opacity();
    ctx.setOpacity(isPressed() ? full : uint8_t(full * 5 / 8));
    ctx.drawFrame(*strip, {bounds.left, bounds.top}, 0);
    const uint8_t glow = glowOpacity();
    if (glow == 0) return;
    ctx.setOpacity(uint8_t(full * glow / 255));
    ctx.drawFrame(*strip, {bounds.left, bounds.top}, 1);
}
