#include "toolkit/controls/static_text_ctrl.h"

#include "toolkit/draw_context.h"
#include "toolkit/font.h"
#include "toolkit/version_text.h"

CCStaticTextCtrl::CCStaticTextCtrl(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                                   std::string_view value, int32_t bitmapId, int32_t align,
                                   CCPageObject* listener, uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, 0, 0, 0, listener, groupMask), text(value), alignment(align) {
    if (bitmapId != 0) setBackgroundBitmap(bitmapId);
}

void CCStaticTextCtrl::setText(std::string_view value) {
    if (text == value) return;
    text.assign(value);
    invalidate(true);
}

void CCStaticTextCtrl::drawContent(CCDrawContext& ctx) {
    drawBackgroundFitted(ctx);
    if (text.empty()) return;
    if (CCFontInterface* f = font()) f->drawText(ctx, text, bounds, alignment);
}

bool CCStaticTextCtrl::onControlMessage(CCMsg&) {
    return false;
}

CCVersionTextCtrl::CCVersionTextCtrl(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                                     int32_t bitmapId, int32_t align, CCPageObject* listener,
                                     uint16_t groupMask)
    : CCStaticTextCtrl(tag, left, top, right, bottom, {}, bitmapId, align, listener, groupMask) {}

void CCVersionTextCtrl::setVersionWord(uint32_t word) {
    versionWord = word;
    setText(word != 0 ? pedalVersionText(word) : std::string());
}
