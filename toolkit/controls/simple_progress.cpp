#include "toolkit/controls/simple_progress.h"

#include "toolkit/bitmap_registry.h"
#include "toolkit/draw_context.h"

CCSimpleProgress::CCSimpleProgress(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                                   int32_t backgroundId, int32_t progressId, int32_t maximum,
                                   CCPageObject* listener, uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, 0, maximum, 0, listener, groupMask) {
    if (backgroundId != 0) setBackgroundBitmap(backgroundId);
    if (progressId != 0) progress = acquireBitmap(progressId);
}

CCSimpleProgress::~CCSimpleProgress() {
    if (progress) releaseBitmap(progress);
}

int32_t CCSimpleProgress::filledWidth() const {
    const int32_t width = progress ? progress->getWidth() : bounds.width();
    if (maximum <= minimum) return 0;
    const int64_t share =
        int64_t(std::clamp(value, minimum, maximum) - minimum) * width / (int64_t(maximum) - minimum);
    return int32_t(share);
}

void CCSimpleProgress::drawContent(CCDrawContext& ctx) {
    if (CCBitmap* bitmap = getBackgroundBitmap()) ctx.drawBitmap(*bitmap, {bounds.left, bounds.top});
    const int32_t filled = filledWidth();
    if (progress && filled > 0)
        ctx.drawBitmap(*progress, {bounds.left, bounds.top}, {0, 0}, {filled, progress->getHeight()});
}
