#include "toolkit/page.h"

#include "toolkit/draw_context.h"

CCPage::CCPage(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t pageId, int32_t bitmapId)
    : CCPageObject(left, top, right, bottom), pageId(pageId), bitmapId(bitmapId) {
    if (bitmapId != 0) setBackgroundBitmap(bitmapId);
}

void CCPage::draw(CCDrawContext& ctx) {
    // Page art is drawn for the whole window, so it lines up with the window's
    // origin rather than with the page's own corner.
    if (CCBitmap* bitmap = getBackgroundBitmap()) ctx.drawBitmap(*bitmap, {0, 0});
    drawPage(ctx);
}
