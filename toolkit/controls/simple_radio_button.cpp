#include "toolkit/controls/simple_radio_button.h"

#include "toolkit/bitmap_registry.h"
#include "toolkit/controls/on_off_button.h"
#include "toolkit/draw_context.h"

CCSimpleRadioButton::CCSimpleRadioButton(int32_t tag, int32_t left, int32_t top, int32_t right,
                                         int32_t bottom, int32_t bitmapId, CCPageObject* listener,
                                         uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, 0, 0, 0, listener, groupMask) {
    if (bitmapId != 0) setBackgroundBitmap(bitmapId);
}

CCSimpleRadioButton::~CCSimpleRadioButton() {
    for (Position& p : positions)
        if (p.image) releaseBitmap(p.image);
}

bool CCSimpleRadioButton::addPosition(int32_t x, int32_t y, int32_t bitmapId, int32_t frames, CCSize size) {
    CCImageStrip* image = bitmapId != 0 ? acquireStripByCount(bitmapId, frames > 0 ? frames : 1) : nullptr;
    if (image) size = {image->getFrameWidth(), image->getHeight()};
    positions.push_back({CCRect::fromSize({x, y}, size.width, size.height), image});
    setRange(0, int32_t(positions.size()) - 1);
    return image != nullptr;
}

int32_t CCSimpleRadioButton::positionAt(CCPoint point) const {
    CCPoint local{point.x - bounds.left, point.y - bounds.top};
    for (size_t i = 0; i < positions.size(); ++i)
        if (positions[i].local.contains(local)) return int32_t(i);
    return -1;
}

void CCSimpleRadioButton::drawContent(CCDrawContext& ctx) {
    if (CCBitmap* bitmap = getBackgroundBitmap()) ctx.drawBitmap(*bitmap, {bounds.left, bounds.top});
    const CCButtonTints tints;
    for (size_t i = 0; i < positions.size(); ++i) {
        const Position& p = positions[i];
        if (!p.image) continue;
        const bool chosen = int32_t(i) == value;
        CCDrawStateSaver saver(ctx);
        CCPoint at{bounds.left + p.local.left, bounds.top + p.local.top};
        if (p.image->getFrameCount() > 1) {
            ctx.drawFrame(*p.image, at, chosen ? 1 : 0);
        } else {
            ctx.setTint(chosen ? tints.on : tints.off);
            ctx.drawFrame(*p.image, at, 0);
        }
    }
}

int32_t CCSimpleRadioButton::cursorAt(int32_t, int32_t) {
    return kCursorButton;
}

bool CCSimpleRadioButton::onControlMouse(CCMouseMsg& msg) {
    const CCPoint point{msg.x, msg.y};
    switch (msg.code) {
    case kMsgLeftDown: {
        if (!CCPageObject::hitTest(point)) return false;
        int32_t index = positionAt(point);
        if (index >= 0) setValue(index, Notify::yes, Redraw::yes, SelfOnly::no);
        return true;
    }
    case kMsgWheel:
        if (!CCPageObject::hitTest(point)) return false;
        setValue(msg.first <= 0 ? value - 1 : value + 1, Notify::yes, Redraw::yes, SelfOnly::no);
        return true;
    default:
        return false;
    }
}
