#include "toolkit/controls/text_ctrl.h"

#include "toolkit/draw_context.h"
#include "toolkit/font.h"
#include "toolkit/page_manager.h"
#include "toolkit/parameter_host.h"
#include "toolkit/window_host.h"

namespace {

constexpr int32_t kMinimumBoxWidth = 16;
constexpr int32_t kMinimumBoxHeight = 17;

} // namespace

CCTextCtrl::CCTextCtrl(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                       int32_t bitmapId, CCPageObject* listener, uint16_t groupMask, bool editable)
    : CControl(tag, left, top, right, bottom, 0, 0, 0, listener, groupMask), editable(editable) {
    if (bitmapId != 0) setBackgroundBitmap(bitmapId);
}

CCTextCtrl::~CCTextCtrl() {
    // Going away closes the box without taking what was typed.
    endEdit(false);
    if (owner) owner->forgetLinkedText(this);
}

void CCTextCtrl::setOwner(CControl* control) {
    if (owner == control) return;
    CControl* previous = owner;
    owner = nullptr;
    if (previous) previous->forgetLinkedText(this);
    owner = control;
}

void CCTextCtrl::setText(std::string_view value) {
    if (text == value) return;
    text.assign(value);
    invalidate(true);
}

void CCTextCtrl::applyValue(int32_t v, Notify notify, Redraw redraw, SelfOnly selfOnly, Force force) {
    CControl::applyValue(v, notify, redraw, selfOnly, force);
    // A field bound to a parameter itself shows that parameter's text.
    CCParameterHost* host = parameterSet();
    if (!owner && host && tag >= 0 && tag < host->parameterCount() && host->hasParameter(tag))
        setText(host->formatText(tag));
}

void CCTextCtrl::drawContent(CCDrawContext& ctx) {
    drawBackgroundFitted(ctx);
    // The edit box covers the field while it is open.
    if (box || text.empty()) return;
    CCFontInterface* f = font();
    if (!f) return;
    if (password)
        f->drawText(ctx, std::string(text.size(), '*'), bounds, alignment);
    else
        f->drawText(ctx, text, bounds, alignment);
}

bool CCTextCtrl::onControlMouse(CCMouseMsg& msg) {
    if (msg.code != kMsgLeftDown || !editable || !CCPageObject::hitTest({msg.x, msg.y})) return false;
    beginEdit();
    return true;
}

bool CCTextCtrl::onControlMessage(CCMsg& msg) {
    if (msg.code == kMsgTextCommitted) {
        if (msg.first != editTag || !msg.data) return false;
        deliverText(static_cast<const char*>(msg.data));
        return true;
    }
    // Only a field bound to a parameter takes values from outside; one that
    // shows another control's value follows that control instead.
    if (msg.code == kMsgSetValue && !owner) return applySetValueMessage(msg);
    return false;
}

std::string CCTextCtrl::cleanEnteredText(std::string_view typed) {
    std::string out(typed.substr(0, kEditBufferSize - 1));
    for (char& c : out) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 32 || u == 127) c = ' ';
    }
    size_t first = out.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    size_t last = out.find_last_not_of(' ');
    return out.substr(first, last - first + 1);
}

bool CCTextCtrl::beginEdit() {
    CCPageManager* m = manager();
    if (m) {
        if (auto* other = dynamic_cast<CCTextCtrl*>(m->popupEditObject()); other && other != this)
            other->endEdit(true);
    }
    if (box) endEdit(true);

    EditBoxRequest request;
    CCPoint corner{bounds.left, bounds.top};
    if (CCWindowHost* w = window()) corner = w->clientToScreen(corner);
    request.x = corner.x;
    request.y = corner.y;
    request.width = bounds.width() <= 15 ? kMinimumBoxWidth : bounds.width();
    request.height = bounds.height() < kMinimumBoxHeight ? kMinimumBoxHeight : bounds.height();
    request.text = text;
    request.maxLength = std::clamp(maxLength, 1, int32_t(kEditBufferSize) - 1);
    request.password = password;
    request.alignment = alignment == kAlignRight ? 1 : alignment == kAlignCentre ? 2 : 0;

    std::unique_ptr<NativeEditBox> opened = editBoxHost().openEditBox(request, *this);
    if (!opened) return false;
    box = std::move(opened);
    editTag = owner ? owner->getTag() : tag;
    initialText = text;
    committed = false;
    closing = false;
    if (m) m->setPopupEdit(this);
    invalidate(true);
    return true;
}

void CCTextCtrl::endEdit(bool commitFirst) {
    if (!box || closing) return;
    if (commitFirst) commit();
    closing = true;
    std::unique_ptr<NativeEditBox> closed = std::move(box);
    closed.reset();
    if (CCPageManager* m = manager(); m && m->popupEditObject() == this) m->setPopupEdit(nullptr);
    closing = false;
    invalidate(true);
}

void CCTextCtrl::commit() {
    if (!box || committed) return;
    committed = true;
    std::string entered = cleanEnteredText(box->text());
    if (entered.empty()) return;
    CCMsg msg(kMsgTextCommitted, editTag);
    msg.data = entered.c_str();
    msg.target = this;
    onMessage(msg);
}

void CCTextCtrl::deliverText(std::string_view entered) {
    CControl* target = owner ? owner : this;
    if (target->getFormatsOwnText())
        target->textEntered(editTag, entered);
    else
        target->setValueFromText(editTag, entered, !target->isFloatMode());
}

void CCTextCtrl::textEntered(int32_t, std::string_view typed) {
    setText(typed);
    applyValue(value, Notify::yes, Redraw::yes, SelfOnly::yes, Force::yes);
}

void CCTextCtrl::editReturn() {
    endEdit(true);
}

void CCTextCtrl::editEscape() {
    endEdit(false);
}

void CCTextCtrl::editChanged() {
    // The box reports its first text while it is being made, before it is ours.
    if (!reportsTyping || !box || closing) return;
    deliverText(cleanEnteredText(box->text()));
}

void CCTextCtrl::editFocusLost() {
    endEdit(true);
}
