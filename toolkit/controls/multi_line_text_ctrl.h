#pragma once

#include "toolkit/controls/control.h"

#include <string>
#include <string_view>
#include <vector>

// Several lines of fixed text, top down from the corner: the text breaks at
// each newline and, where a line is wider than the control, between words.
// It takes no values and ignores the mouse.
class CCMultiLineTextCtrl : public CControl {
public:
    static constexpr int32_t kDefaultLineHeight = 13;

    CCMultiLineTextCtrl(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                        std::string_view text, int32_t alignment = 0, CCPageObject* listener = nullptr,
                        uint16_t groupMask = 0);

    void drawContent(CCDrawContext& ctx) override;
    bool onControlMessage(CCMsg& msg) override;
    std::string getText() const override { return text; }

    void setText(std::string_view value);
    void setLineHeight(int32_t pixels) { lineHeight = pixels; }
    // The lines as drawn with the control's font at its width.
    std::vector<std::string> layoutLines();

private:
    std::string text;
    int32_t alignment;
    int32_t lineHeight = kDefaultLineHeight;
};
