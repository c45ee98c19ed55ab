#include "toolkit/controls/version.h"

#include "toolkit/font.h"
#include "toolkit/version_text.h"

CCVersion::CCVersion(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t versionWord,
                     VersionMarks versionMarks, int32_t align)
    : CCPageObject(left, top, right, bottom), word(versionWord), marks(versionMarks), alignment(align) {}

std::string CCVersion::text() const {
    return caption + fourPartVersionText(word, marks);
}

void CCVersion::draw(CCDrawContext& ctx) {
    if (CCFontInterface* f = font()) f->drawText(ctx, text(), bounds, alignment);
}
