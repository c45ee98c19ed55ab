#include "toolkit/controls/bargraph.h"

#include "toolkit/bitmap_registry.h"
#include "toolkit/controls/meter_drawing.h"
#include "toolkit/draw_context.h"

CCBargraph::CCBargraph(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t stripId,
                       int32_t frames, int32_t minimum, int32_t maximum, CCPageObject* listener,
                       uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, minimum, maximum, minimum, listener, groupMask) {
    if (stripId != 0) strip = acquireStripByCount(stripId, frames > 0 ? frames : 1);
}

CCBargraph::~CCBargraph() {
    if (strip) releaseBitmap(strip);
}

int32_t CCBargraph::frameFor(int32_t v) const {
    if (!strip) return 0;
    return meterFill(v, minimum, maximum, strip->getFrameCount() - 1);
}

void CCBargraph::drawContent(CCDrawContext& ctx) {
    if (strip) ctx.drawFrame(*strip, {bounds.left, bounds.top}, frameFor(value));
}
