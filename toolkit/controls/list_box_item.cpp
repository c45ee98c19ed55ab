#include "toolkit/controls/list_box_item.h"

#include "toolkit/controls/text_ctrl.h"
#include "toolkit/draw_context.h"
#include "toolkit/font.h"
#include "toolkit/palette.h"
#include "toolkit/window_host.h"

namespace {

constexpr CCColour kSelected = palette::kRowSelected;
constexpr CCColour kSelectedEdge = palette::kAmber;
constexpr CCColour kHover = palette::kRowHover;
constexpr int32_t kTextInset = 4;
constexpr int32_t kMinimumBoxHeight = 17;

} // namespace

CCListBoxItem::CCListBoxItem(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                             std::string_view value, CCPageObject* listener, uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, 0, 1, 0, listener, groupMask), text(value) {}

CCListBoxItem::~CCListBoxItem() {
    endEdit(false);
}

void CCListBoxItem::setText(std::string_view value) {
    if (text == value) return;
    text.assign(value);
    invalidate(true);
}

void CCListBoxItem::drawContent(CCDrawContext& ctx) {
    if (value) {
        ctx.fillRect(bounds, kSelected);
        ctx.fillRect({bounds.left, bounds.top, bounds.left + 2, bounds.bottom}, kSelectedEdge);
    } else if (mouseOver && isEnabled()) {
        ctx.fillRect(bounds, kHover);
    }
    if (box || text.empty()) return;
    if (CCFontInterface* f = font())
        f->drawText(ctx, text, {bounds.left + kTextInset, bounds.top, bounds.right - 2, bounds.bottom},
                    kAlignLeftShortened);
}

bool CCListBoxItem::onControlMouse(CCMouseMsg& msg) {
    if (msg.code != kMsgLeftDown || !CCPageObject::hitTest({msg.x, msg.y})) return false;
    setValue(1, Notify::yes, Redraw::yes, SelfOnly::yes);
    return true;
}

void CCListBoxItem::onDoubleClick(CCPoint) {
    if (editable) beginEdit();
}

bool CCListBoxItem::beginEdit() {
    if (box) endEdit(true);
    EditBoxRequest request;
    CCPoint corner{bounds.left, bounds.top};
    if (CCWindowHost* w = window()) corner = w->clientToScreen(corner);
    request.x = corner.x;
    request.y = corner.y;
    request.width = bounds.width();
    request.height = std::max(bounds.height(), kMinimumBoxHeight);
    request.text = text;
    request.maxLength = int32_t(CCTextCtrl::kEditBufferSize) - 1;
    box = editBoxHost().openEditBox(request, *this);
    if (!box) return false;
    invalidate(true);
    return true;
}

void CCListBoxItem::endEdit(bool commit) {
    if (!box || closing) return;
    closing = true;
    const std::string entered = commit ? CCTextCtrl::cleanEnteredText(box->text()) : std::string();
    box.reset();
    closing = false;
    invalidate(true);
    if (entered.empty() || entered == text) return;
    text = entered;
    CCMsg msg(kMsgListItemChanged, tag);
    msg.target = this;
    msg.data = text.c_str();
    bool handled = false;
    for (CCPageObject* l = listener; l && !handled; l = l->getListener())
        handled = l->onMessage(msg);
    if (!listener) sendToAncestors(msg);
}
