#pragma once

#include "toolkit/controls/control.h"

#include <string>
#include <string_view>

// A fixed text over a background bitmap. It takes no values and ignores the mouse.
class CCStaticTextCtrl : public CControl {
public:
    CCStaticTextCtrl(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                     std::string_view text, int32_t bitmapId = 0, int32_t alignment = 2,
                     CCPageObject* listener = nullptr, uint16_t groupMask = 0);

    void drawContent(CCDrawContext& ctx) override;
    bool takesPresses() const override { return false; }
    bool onControlMessage(CCMsg& msg) override;
    std::string getText() const override { return text; }

    void setText(std::string_view value);
    void setAlignment(int32_t value) { alignment = value; }

private:
    std::string text;
    int32_t alignment = 2;
};

// The pedal's firmware version ("1.50", "1.50beta03") over a background bitmap.
class CCVersionTextCtrl : public CCStaticTextCtrl {
public:
    CCVersionTextCtrl(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                      int32_t bitmapId = 0, int32_t alignment = 2, CCPageObject* listener = nullptr,
                      uint16_t groupMask = 0);

    // The version word (major bits 31-24, minor 23-20, revision 19-16, beta 15-0);
    // 0 shows nothing (no pedal).
    void setVersionWord(uint32_t word);
    uint32_t getVersionWord() const { return versionWord; }

private:
    uint32_t versionWord = 0;
};
