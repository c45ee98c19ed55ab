#pragma once

#include "toolkit/page_object.h"

#include <string>

// A version alone in the pedal's style, "1.50" or "1.50beta03".
class CCVersionSimple : public CCPageObject {
public:
    CCVersionSimple(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t versionWord,
                    int32_t alignment = 2);

    void draw(CCDrawContext& ctx) override;
    std::string text() const;

private:
    uint32_t word;
    int32_t alignment;
};
