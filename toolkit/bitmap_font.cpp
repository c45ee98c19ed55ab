#include "toolkit/bitmap_registry.h"
#include "toolkit/draw_context.h"
#include "toolkit/font.h"

CCBitmapFont::CCBitmapFont(CCImageStrip* s, int32_t first) : strip(s), firstChar(first) {}

CCBitmapFont::~CCBitmapFont() {
    if (strip) releaseBitmap(strip);
}

int32_t CCBitmapFont::textWidth(std::string_view text) {
    return strip ? int32_t(text.size()) * strip->getFrameWidth() : 0;
}

int32_t CCBitmapFont::pointSize() {
    return strip ? strip->getHeight() * 100 / 72 : 0;
}

void CCBitmapFont::drawRun(CCDrawContext& ctx, std::string_view text, CCPoint topLeft) {
    int32_t fw = strip->getFrameWidth();
    for (size_t i = 0; i < text.size(); ++i) {
        int32_t frame = static_cast<uint8_t>(text[i]) - firstChar;
        // Characters the strip does not hold leave a blank cell.
        if (frame < 0 || frame >= strip->getFrameCount()) continue;
        ctx.drawFrame(*strip, {topLeft.x + int32_t(i) * fw, topLeft.y}, frame);
    }
}

void CCBitmapFont::drawText(CCDrawContext& ctx, std::string_view text, CCRect rect, int32_t alignment) {
    if (!strip || text.empty()) return;
    int32_t fw = strip->getFrameWidth();
    if (alignment == kAlignLeftShortened && fw > 0) {
        text = text.substr(0, std::min<size_t>(text.size(), size_t(std::max(rect.width(), 0) / fw)));
    }
    int32_t width = textWidth(text);
    int32_t x = rect.left;
    if (alignment == kAlignRight) x = rect.right - 2 - width;
    if (alignment == kAlignCentre) x = rect.left + (rect.width() - width) / 2;
    int32_t y = rect.top + (rect.height() - strip->getHeight() + 2) / 2;
    CCDrawStateSaver saver(ctx);
    ctx.clip(rect);
    drawRun(ctx, text, {x, y});
}

void CCBitmapFont::drawTextAt(CCDrawContext& ctx, std::string_view text, CCPoint point, int32_t alignment) {
    if (!strip || text.empty()) return;
    int32_t width = textWidth(text);
    int32_t x = point.x;
    if (alignment == kAlignRight) x -= width;
    if (alignment == kAlignCentre) x -= width / 2;
    drawRun(ctx, text, {x, point.y});
}
