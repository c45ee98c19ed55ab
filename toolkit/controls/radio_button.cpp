#include "toolkit/controls/radio_button.h"

#include "toolkit/draw_context.h"

#include <algorithm>

CCRadioButton::CCRadioButton(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                             int32_t bitmapId, CCPageObject* listener, uint16_t groupMask)
    : CControl(tag, left, top, right, bottom, 0, 0, 0, listener, groupMask) {
    if (bitmapId != 0) setBackgroundBitmap(bitmapId);
}

CControl* CCRadioButton::addMember(std::unique_ptr<CControl> m) {
    if (!m) return nullptr;
    m->setListener(this);
    CControl* raw = addChild(std::move(m));
    members.push_back(raw);
    setRange(0, int32_t(members.size()) - 1);
    raw->setValue(int32_t(members.size()) - 1 == value ? 1 : 0, Notify::no, Redraw::no, SelfOnly::yes);
    return raw;
}

CControl* CCRadioButton::member(int32_t index) const {
    return index >= 0 && index < int32_t(members.size()) ? members[size_t(index)] : nullptr;
}

void CCRadioButton::drawContent(CCDrawContext& ctx) {
    if (CCBitmap* bitmap = getBackgroundBitmap()) ctx.drawBitmap(*bitmap, {bounds.left, bounds.top});
}

void CCRadioButton::applyValue(int32_t v, Notify notify, Redraw redraw, SelfOnly selfOnly, Force force) {
    CControl::applyValue(v, notify, redraw, selfOnly, force);
    syncMembers();
}

void CCRadioButton::syncMembers() {
    for (size_t i = 0; i < members.size(); ++i) {
        const bool chosen = int32_t(i) == value;
        CCMsg set(kMsgSetValue, members[i]->getTag(), chosen ? 1 : 0, chosen ? 1.0f : 0.0f);
        set.target = members[i];
        members[i]->onMessage(set);
    }
}

bool CCRadioButton::onControlMessage(CCMsg& msg) {
    if (msg.code == kMsgValueChanged) {
        auto it = std::find(members.begin(), members.end(), msg.target);
        if (it == members.end()) return false;
        const int32_t index = int32_t(it - members.begin());
        if (msg.second != 0) {
            setValue(index, Notify::yes, Redraw::yes, SelfOnly::no);
        } else if (index == value) {
            // The chosen member cannot be switched off by itself.
            syncMembers();
        }
        return true;
    }
    return CControl::onControlMessage(msg);
}

bool CCRadioButton::onControlMouse(CCMouseMsg& msg) {
    if (msg.code != kMsgWheel || !CCPageObject::hitTest({msg.x, msg.y})) return false;
    setValue(msg.first <= 0 ? value - 1 : value + 1, Notify::yes, Redraw::yes, SelfOnly::no);
    return true;
}
