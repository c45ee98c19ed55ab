#pragma once

#include "toolkit/controls/control.h"

#include <string>
#include <string_view>

// A button with a caption over a background bitmap, the caption drawn in its
// normal, pressed or on font. A toggle flips on a release inside; otherwise it
// is momentary: a release inside sends 1 then 0, a release outside only 0.
class CCTextButton : public CControl {
public:
    CCTextButton(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t bitmapId,
                 std::string_view caption, bool toggle = false, CCPageObject* listener = nullptr,
                 uint16_t groupMask = 0);

    void drawContent(CCDrawContext& ctx) override;
    bool onControlMouse(CCMouseMsg& msg) override;
    int32_t cursorAt(int32_t x, int32_t y) override;

    void setCaption(std::string_view text);
    const std::string& getCaption() const { return caption; }
    // Fonts are not owned (they belong to the font cache); none keeps the default.
    void setFonts(CCFontInterface* normal, CCFontInterface* pressed, CCFontInterface* on);
    bool isToggle() const { return toggle; }
    bool isPressed() const { return held; }

private:
    CCFontInterface* stateFont();

    std::string caption;
    bool toggle = false;
    bool held = false;
    CCFontInterface* normalFont = nullptr;
    CCFontInterface* pressedFont = nullptr;
    CCFontInterface* onFont = nullptr;
};
