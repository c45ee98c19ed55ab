#include "toolkit/controls/panel.h"

#include "toolkit/bitmap_registry.h"
#include "toolkit/draw_context.h"
#include "toolkit/page_manager.h"

CCPanel::CCPanel(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t bitmapId,
                 CCPageObject* listener, uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, 0, 0, 0, listener, groupMask) {
    if (bitmapId != 0) setBackgroundBitmap(bitmapId);
}

CCPanel::~CCPanel() {
    for (CCBitmap* edge : edges)
        if (edge) releaseBitmap(edge);
}

bool CCPanel::setEdges(int32_t leftId, int32_t topId, int32_t rightId, int32_t bottomId) {
    bool ok = true;
    const int32_t ids[4] = {leftId, topId, rightId, bottomId};
    for (int i = 0; i < 4; ++i) {
        if (edges[i]) releaseBitmap(edges[i]);
        edges[i] = ids[i] != 0 ? acquireBitmap(ids[i]) : nullptr;
        if (ids[i] != 0 && !edges[i]) ok = false;
    }
    invalidate(false);
    return ok;
}

void CCPanel::drawContent(CCDrawContext& ctx) {
    if (fill.alpha != 0) ctx.fillRect(bounds, fill);
    if (CCBitmap* bitmap = getBackgroundBitmap()) ctx.drawBitmap(*bitmap, {bounds.left, bounds.top});
    const CCRect& b = bounds;
    if (CCBitmap* e = edges[0])
        ctx.drawImageScaled(*e, {b.left, b.top, b.left + e->getWidth(), b.bottom}, e->bounds());
    if (CCBitmap* e = edges[1])
        ctx.drawImageScaled(*e, {b.left, b.top, b.right, b.top + e->getHeight()}, e->bounds());
    if (CCBitmap* e = edges[2])
        ctx.drawImageScaled(*e, {b.right - e->getWidth(), b.top, b.right, b.bottom}, e->bounds());
    if (CCBitmap* e = edges[3])
        ctx.drawImageScaled(*e, {b.left, b.bottom - e->getHeight(), b.right, b.bottom}, e->bounds());
}

bool CCPanel::onControlMessage(CCMsg&) {
    return false;
}

CCModalPanel::CCModalPanel(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t bitmapId,
                           int32_t modalMode, CCPageObject* listener)
    : CCPanel(kTagNone, left, top, right, bottom, bitmapId, listener), mode(modalMode) {}

void CCModalPanel::close() {
    CCPageManager* m = manager();
    if (m && m->modalPanel() == this) m->showModal(nullptr);
}
