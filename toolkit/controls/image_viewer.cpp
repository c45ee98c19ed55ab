#include "toolkit/controls/image_viewer.h"

#include "toolkit/bitmap.h"
#include "toolkit/draw_context.h"

CCImageViewer::CCImageViewer(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                             int32_t bitmapId, CCPageObject* listener, uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, 0, 0, 0, listener, groupMask) {
    if (bitmapId != 0) setBackgroundBitmap(bitmapId);
}

bool CCImageViewer::setImage(int32_t bitmapId) {
    const bool ok = setBackgroundBitmap(bitmapId);
    invalidate(true);
    return ok;
}

void CCImageViewer::drawContent(CCDrawContext& ctx) {
    CCBitmap* image = getBackgroundBitmap();
    if (!image) return;
    ctx.drawBitmap(*image, {bounds.left + (bounds.width() - image->getWidth()) / 2,
                            bounds.top + (bounds.height() - image->getHeight()) / 2});
}

bool CCImageViewer::onControlMessage(CCMsg&) {
    return false;
}
