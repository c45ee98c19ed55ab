#include "toolkit/controls/text_button.h"

#include "toolkit/controls/on_off_button.h"
#include "toolkit/draw_context.h"
#include "toolkit/font.h"
#include "toolkit/palette.h"

namespace {

// The defaults: cream, white while pressed, amber when on.
CCFontInterface* defaultFont(CCColour colour) {
    CCFontDescriptor d;
    d.colour = colour;
    return getFont(d);
}

} // namespace

CCTextButton::CCTextButton(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                           int32_t bitmapId, std::string_view text, bool isToggle, CCPageObject* listener,
                           uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, 0, 1, 0, listener, groupMask), caption(text), toggle(isToggle) {
    if (bitmapId != 0) setBackgroundBitmap(bitmapId);
}

void CCTextButton::setCaption(std::string_view text) {
    if (caption == text) return;
    caption.assign(text);
    invalidate(true);
}

void CCTextButton::setFonts(CCFontInterface* normal, CCFontInterface* pressed, CCFontInterface* on) {
    normalFont = normal;
    pressedFont = pressed;
    onFont = on;
}

CCFontInterface* CCTextButton::stateFont() {
    if (held) return pressedFont ? pressedFont : defaultFont(palette::kWhite);
    if (value) return onFont ? onFont : defaultFont(palette::kAmberLit);
    return normalFont ? normalFont : font();
}

void CCTextButton::drawContent(CCDrawContext& ctx) {
    if (CCBitmap* bitmap = getBackgroundBitmap()) ctx.drawBitmap(*bitmap, {bounds.left, bounds.top});
    if (CCFontInterface* f = stateFont()) f->drawText(ctx, caption, bounds, kAlignCentre);
}

int32_t CCTextButton::cursorAt(int32_t, int32_t) {
    return kCursorButton;
}

bool CCTextButton::onControlMouse(CCMouseMsg& msg) {
    const bool inside = CCPageObject::hitTest({msg.x, msg.y});
    switch (msg.code) {
    case kMsgLeftDown:
        if (!inside) return false;
        captureMouse(true);
        held = true;
        invalidate(true);
        return true;
    case kMsgLeftUp:
        if (!held) return false;
        held = false;
        captureMouse(false);
        if (toggle) {
            if (inside) setValue(value ? 0 : 1, Notify::yes, Redraw::yes, SelfOnly::yes);
        } else {
            if (inside) setValue(1, Notify::yes, Redraw::yes, SelfOnly::yes);
            setValue(0, Notify::yes, Redraw::yes, SelfOnly::yes);
        }
        invalidate(true);
        return true;
    case kMsgMouseMove:
        return hasCapture();
    default:
        return false;
    }
}
