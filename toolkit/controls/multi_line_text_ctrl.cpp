#include "toolkit/controls/multi_line_text_ctrl.h"

#include "toolkit/draw_context.h"
#include "toolkit/font.h"

namespace {

constexpr int32_t kSideInset = 2;

} // namespace

CCMultiLineTextCtrl::CCMultiLineTextCtrl(int32_t tag, int32_t left, int32_t top, int32_t right,
                                         int32_t bottom, std::string_view value, int32_t align,
                                         CCPageObject* listener, uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, 0, 0, 0, listener, groupMask), text(value), alignment(align) {}

void CCMultiLineTextCtrl::setText(std::string_view value) {
    if (text == value) return;
    text.assign(value);
    invalidate(true);
}

std::vector<std::string> CCMultiLineTextCtrl::layoutLines() {
    std::vector<std::string> lines;
    CCFontInterface* f = font();
    const int32_t width = bounds.width() - 2 * kSideInset;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string_view paragraph = std::string_view(text).substr(start, end - start);
        std::string line;
        size_t word = 0;
        while (word < paragraph.size()) {
            size_t space = paragraph.find(' ', word);
            if (space == std::string_view::npos) space = paragraph.size();
            std::string candidate = line.empty() ? std::string() : line + " ";
            candidate += paragraph.substr(word, space - word);
            // A single word wider than the control keeps a line of its own.
            if (!line.empty() && f && f->textWidth(candidate) > width) {
                lines.push_back(line);
                line.assign(paragraph.substr(word, space - word));
            } else {
                line = std::move(candidate);
            }
            word = space + 1;
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

void CCMultiLineTextCtrl::drawContent(CCDrawContext& ctx) {
    drawBackgroundFitted(ctx);
    CCFontInterface* f = font();
    if (!f || text.empty()) return;
    int32_t y = bounds.top;
    for (const std::string& line : layoutLines()) {
        // Only whole lines: a line cut by the bottom edge would show as stray marks.
        if (y + lineHeight > bounds.bottom) break;
        if (!line.empty())
            f->drawText(ctx, line, {bounds.left + kSideInset, y, bounds.right - kSideInset, y + lineHeight},
                        alignment);
        y += lineHeight;
    }
}

bool CCMultiLineTextCtrl::onControlMessage(CCMsg&) {
    return false;
}
