#include "toolkit/controls/on_off_button.h"

#include "toolkit/bitmap_registry.h"
#include "toolkit/draw_context.h"

CCOnOffButton::CCOnOffButton(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                             int32_t bitmapId, int32_t buttonMode, CCPageObject* listener, uint16_t groupMask,
                             int32_t frames)
    : CControl(tag, left, top, right, bottom, 0, 1, 0, listener, groupMask), mode(buttonMode) {
    if (bitmapId != 0) strip = acquireStripByCount(bitmapId, frames > 0 ? frames : 1);
}

CCOnOffButton::~CCOnOffButton() {
    if (strip) releaseBitmap(strip);
}

CCTint CCOnOffButton::stateTint() const {
    if (isPressed()) return tints.pressed;
    if (mouseOver && isEnabled()) return tints.hover;
    return value ? tints.on : tints.off;
}

void CCOnOffButton::drawContent(CCDrawContext& ctx) {
    if (!strip) return;
    CCDrawStateSaver saver(ctx);
    ctx.setTint(stateTint());
    // A strip of two frames shows its on frame for 1, and a tracking trigger's
    // while it is pressed; one bitmap is only tinted.
    const bool on = value != 0 || (mode == kButtonTriggerTracking && isPressed());
    ctx.drawFrame(*strip, {bounds.left, bounds.top}, strip->getFrameCount() > 1 && on ? 1 : 0);
}

int32_t CCOnOffButton::cursorAt(int32_t, int32_t) {
    return kCursorButton;
}

bool CCOnOffButton::onControlMouse(CCMouseMsg& msg) {
    const bool inside = CCPageObject::hitTest({msg.x, msg.y});
    switch (msg.code) {
    case kMsgLeftDown:
        if (!inside) return false;
        captureMouse(true);
        held = true;
        if (mode == kButtonMomentary) {
            setValue(1, Notify::yes, Redraw::yes, SelfOnly::yes);
        } else if (mode == kButtonTrigger) {
            setValue(1, Notify::yes, Redraw::yes, SelfOnly::yes);
            setValue(0, Notify::yes, Redraw::yes, SelfOnly::yes);
        } else {
            invalidate(true);
        }
        return true;
    case kMsgMouseMove:
        // The hover state is kept by the base; mode 4 redraws through it too.
        return hasCapture();
    case kMsgLeftUp: {
        if (!held) return false;
        held = false;
        captureMouse(false);
        switch (mode) {
        case kButtonMomentary:
            setValue(0, Notify::yes, Redraw::yes, SelfOnly::yes);
            break;
        case kButtonToggle:
            if (inside) setValue(value ? 0 : 1, Notify::yes, Redraw::yes, SelfOnly::yes);
            break;
        case kButtonSetOnly:
            if (inside) setValue(1, Notify::yes, Redraw::yes, SelfOnly::yes);
            break;
        case kButtonTriggerTracking:
            if (inside) {
                setValue(1, Notify::yes, Redraw::yes, SelfOnly::yes);
                setValue(0, Notify::yes, Redraw::yes, SelfOnly::yes);
            }
            break;
        default:
            break;
        }
        invalidate(true);
        return true;
    }
    default:
        return false;
    }
}
