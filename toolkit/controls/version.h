#pragma once

#include "toolkit/page_object.h"
#include "toolkit/version_text.h"

#include <string>
#include <string_view>

// The program's version as text, "Version 1.5.0.3 BETA": a caption, the
// four-part version and the build labels, in the object's font. It holds no
// value and takes no messages.
class CCVersion : public CCPageObject {
public:
    CCVersion(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t versionWord,
              VersionMarks marks = {}, int32_t alignment = 2);

    void draw(CCDrawContext& ctx) override;
    void setCaption(std::string_view value) { caption.assign(value); }
    std::string text() const;

private:
    uint32_t word;
    VersionMarks marks;
    int32_t alignment;
    std::string caption = "Version ";
};
