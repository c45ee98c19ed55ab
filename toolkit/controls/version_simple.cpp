#include "toolkit/controls/version_simple.h"

#include "toolkit/font.h"
#include "toolkit/version_text.h"

CCVersionSimple::CCVersionSimple(int32_t left, int32_t top, int32_t right, int32_t bottom,
                                 uint32_t versionWord, int32_t align)
    : CCPageObject(left, top, right, bottom), word(versionWord), alignment(align) {}

std::string CCVersionSimple::text() const {
    return pedalVersionText(word);
}

void CCVersionSimple::draw(CCDrawContext& ctx) {
    if (CCFontInterface* f = font()) f->drawText(ctx, text(), bounds, alignment);
}
