#include "toolkit/controls/control.h"

#include "platform/trace.h"
#include "toolkit/bitmap_registry.h"
#include "toolkit/controls/on_off_button.h"
#include "toolkit/controls/text_ctrl.h"
#include "toolkit/draw_context.h"
#include "toolkit/font.h"
#include "toolkit/page_manager.h"
#include "toolkit/parameter_host.h"
#include "toolkit/preference.h"
#include "toolkit/preference_manager.h"
#include "toolkit/text_number.h"
#include "toolkit/window_host.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

CCPreferenceManager* preferenceSource = nullptr;
CCColour labelColourDefault = kDefaultTextColour;

} // namespace

void setControlPreferences(CCPreferenceManager* manager) {
    preferenceSource = manager;
}

CCPreferenceManager* controlPreferences() {
    return preferenceSource;
}

void setDefaultLabelColour(CCColour colour) {
    labelColourDefault = colour;
}

CCColour defaultLabelColour() {
    return labelColourDefault;
}

CControl::CControl(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t minimum,
                   int32_t maximum, int32_t initial, CCPageObject* listener, uint16_t groupMask)
    : CCPageObject(left, top, right, bottom, listener, tag, groupMask), value(initial), minimum(minimum),
      maximum(maximum), range(computeRange(minimum, maximum)), labelColour(labelColourDefault) {
    // Made once for the process; every control may fall back to it.
    sharedBitmapFont();
}

CControl::~CControl() {
    if (linkedText) linkedText->setOwner(nullptr);
    if (overlay) releaseBitmap(overlay);
}

int32_t CControl::computeRange(int32_t lo, int32_t hi) {
    if (lo == hi) return 1;
    // A range that crosses zero is symmetric, so that zero sits at its middle.
    if (lo < 0 && hi > 0) return 2 * std::max(std::abs(lo), hi);
    return hi - lo;
}

void CControl::setRange(int32_t lo, int32_t hi) {
    minimum = lo;
    maximum = hi;
    range = computeRange(lo, hi);
}

float CControl::toNormalised(int32_t v) const {
    if (floatMode) return static_cast<float>(v);
    return static_cast<float>(v - minimum) / static_cast<float>(range);
}

int32_t CControl::fromNormalised(float x) const {
    if (floatMode) return static_cast<int32_t>(x);
    double scaled = static_cast<double>(static_cast<float>(range) * x);
    double whole = std::trunc(scaled);
    double fraction = scaled - whole;
    // Exactly one half truncates toward zero.
    if (fraction > 0.5) whole += 1;
    if (fraction < -0.5) whole -= 1;
    return minimum + static_cast<int32_t>(whole);
}

void CControl::resendValue(Notify notify, Redraw redraw, SelfOnly selfOnly) {
    applyValue(value, notify, redraw, selfOnly, Force::yes);
}

void CControl::setValueForced(int32_t v, Notify notify, Redraw redraw, SelfOnly selfOnly) {
    applyValue(v, notify, redraw, selfOnly, Force::yes);
}

void CControl::setValue(int32_t v, Notify notify, Redraw redraw, SelfOnly selfOnly) {
    applyValue(v, notify, redraw, selfOnly, Force::no);
}

void CControl::setNormalised(float x, Notify notify, Redraw redraw) {
    setValue(fromNormalised(x), notify, redraw, SelfOnly::no);
}

void CControl::applyValue(int32_t v, Notify notify, Redraw redraw, SelfOnly selfOnly, Force force) {
    const bool takeTypedFloat = floatMode && typedFloatPending;
    typedFloatPending = false;
    if (redraw == Redraw::no) hoverChangedWhileHidden = 1;
    if (minimum != maximum) {
        if (wrap) {
            if (v < minimum)
                v = maximum;
            else if (v > maximum)
                v = minimum;
        } else {
            v = std::clamp(v, minimum, maximum);
        }
    }
    const bool always = alwaysNotify();
    if (always) redraw = Redraw::yes;
    if (v == value && force == Force::no && !always) return;
    value = v;

    if (notify == Notify::yes) {
        // A typed real number travels as typed; anything else as its normalised form.
        CCMsg msg(kMsgValueChanged, tag, value, takeTypedFloat ? floatValue : toNormalised(value));
        msg.target = this;
        bool handled = false;
        for (CCPageObject* l = listener; l && !handled; l = l->getListener())
            handled = l->onMessage(msg);
        if (!listener) sendToAncestors(msg);
    }
    if (linkedText) {
        textBuffer = displayText();
        linkedText->setText(textBuffer);
    }
    CCPageObject* p = getParent();
    if (isGroupSelector && p && p->isSwitcher()) {
        p->setGroup(static_cast<uint16_t>(selectorBits << value));
        p->invalidate(false);
    } else if (redraw == Redraw::yes && isShown() && isVisible()) {
        invalidate(selfOnly == SelfOnly::yes);
    }
}

std::string CControl::displayText() const {
    CCParameterHost* host = const_cast<CControl*>(this)->parameterSet();
    if (host && tag >= 0 && tag < host->parameterCount() && host->hasParameter(tag))
        return host->formatText(tag);
    std::string own = getText();
    if (!own.empty()) return own;
    return std::to_string(value);
}

bool CControl::applySetValueMessage(const CCMsg& msg) {
    int32_t v = fromNormalised(msg.value);
    if (msg.forced)
        setValueForced(v, Notify::no, Redraw{msg.notify != 0}, SelfOnly{msg.notify != 0});
    else
        setValue(v, Notify{echoExternal != 0}, Redraw{msg.notify != 0}, SelfOnly{msg.notify != 0});
    return true;
}

bool CControl::onControlMessage(CCMsg& msg) {
    if (msg.code == kMsgSetValue) return applySetValueMessage(msg);
    return false;
}

bool CControl::onMessage(CCMsg& msg) {
    switch (msg.code) {
    case kMsgEnableByTag:
        if (msg.first != tag) break;
        setEnabled(msg.second != 0);
        return true;
    case kMsgGroupSwitch:
        if (msg.second != tag) break;
        setGroup(static_cast<uint16_t>(msg.first));
        invalidate(false);
        return true;
    case kMsgSetValue:
        if (tag != kTagNone && tag != kTagNeverDisabled && msg.first == tag) setEnabled(msg.disable == 0);
        // A 513 for another tag is not ours, unless it was addressed to this
        // control directly (a radio button setting its members).
        if (msg.first != tag && msg.target != this) return false;
        return onControlMessage(msg);
    default:
        break;
    }
    return onControlMessage(msg);
}

bool CControl::onMouse(CCMouseMsg& msg) {
    // A release always reaches the control that holds the mouse, so a control
    // disabled or hidden in the middle of a drag still ends it.
    const bool release = (msg.code == kMsgLeftUp || msg.code == kMsgRightUp) && hasCapture();
    if (!release && (!(isEnabled() || msg.code == kMsgMouseMove) || !isShown() || !isVisible())) return false;
    const CCPoint point{msg.x, msg.y};
    if (msg.code == kMsgPressProbe) {
        if (!takesPresses() || !hitTest(point)) return false;
        msg.target = this;
        return true;
    }
    if (msg.code == kMsgLeftDoubleClick && hitTest(point)) {
        onDoubleClick(point);
        msg.code = kMsgLeftDown;
    }
    if (msg.code == kMsgMouseMove) {
        mouseOver = hitTest(point);
        if (tag != kTagNone && (mouseOver || hasCapture()))
            if (CCPageManager* m = manager()) m->setHover(this);
    }
    bool handled = onControlMouse(msg);
    if (mouseOver != mouseOverWhenDrawn) invalidate(true);
    return handled;
}

bool CControl::onControlMouse(CCMouseMsg&) {
    return false;
}

void CControl::onDoubleClick(CCPoint) {
    updateFromParameter();
}

void CControl::setEnabled(bool on, uint8_t opacityValue) {
    CCPageObject::setEnabled(on, opacityValue);
    if (linkedText) linkedText->setEnabled(on, opacityValue);
}

void CControl::setVisible(bool on) {
    CCPageObject::setVisible(on);
    if (linkedText) linkedText->setVisible(on);
}

uint16_t CControl::setGroupMask(uint16_t set, uint16_t clear) {
    uint16_t mask = CCPageObject::setGroupMask(set, clear);
    if (linkedText) linkedText->setGroupMask(set, clear);
    return mask;
}

bool CControl::hitTest(CCPoint point) const {
    // A child's own area counts, not its answer: a child container answers
    // false over its own children, and the press must still pass to them.
    for (CCPageObject* c = getFirstChild(); c; c = c->getNextSibling()) {
        if (dynamic_cast<CControl*>(c) && c->isShown() && c->isVisible() && c->CCPageObject::hitTest(point))
            return false;
    }
    return CCPageObject::hitTest(point);
}

CCFontInterface* CControl::font() {
    if (objectFont) return objectFont;
    if (labelFont) return labelFont.get();
    if (CCBitmapFont* shared = sharedBitmapFont()) return shared;
    return CCPageObject::font();
}

void CControl::boundsChanged() {
    // A selector made before it joined the tree marks its parent now.
    if (isGroupSelector)
        if (CCPageObject* p = getParent()) p->setHasSelector(true);
    // A control made without a range takes its parameter's, so that typed text
    // and values from the pedal map onto the parameter's real steps.
    if (minimum == maximum) {
        CCParameterHost* host = parameterSet();
        if (host && tag >= 0 && tag < host->parameterCount() && host->hasParameter(tag)) {
            CCParameterRange r = host->range(tag);
            if (r.minimum != r.maximum) setRange(r.minimum, r.maximum);
        }
    }
}

void CControl::draw(CCDrawContext& ctx) {
    {
        CCDrawStateSaver saver(ctx);
        ctx.clip(bounds);
        drawContent(ctx);
        if (overlay) ctx.drawImageScaled(*overlay, bounds, overlay->bounds(), CCInterpolation::Nearest);
    }
    if (showLabel && !linkedText) {
        CCDrawStateSaver saver(ctx);
        ctx.clip(labelRect);
        textBuffer = displayText();
        if (labelFont)
            labelFont->drawText(ctx, textBuffer, labelRect, kAlignRight);
        else if (CCFontInterface* f = font())
            f->drawText(ctx, textBuffer, labelRect, kAlignCentre);
    }
    mouseOverWhenDrawn = mouseOver;
}

void CControl::updateFromParameter() {
    CCParameterHost* host = parameterSet();
    float x = 0;
    if (host && tag >= 0 && tag < host->parameterCount() && host->hasParameter(tag)) {
        x = host->value(tag);
    } else {
        CCPreferenceManager* prefs = controlPreferences();
        CCPreference* pref = prefs && tag >= 0 && tag <= 0xFFFF ? prefs->find(uint16_t(tag)) : nullptr;
        if (!pref) return;
        if (pref->kind == CCPreference::Integer) {
            setValue(pref->intValue(), Notify::yes, Redraw::yes, SelfOnly::yes);
            return;
        }
        if (pref->kind != CCPreference::Float) return;
        x = pref->floatValue();
    }
    setValue(fromNormalised(x), Notify::yes, Redraw::yes, SelfOnly::yes);
}

bool CControl::setValueFromText(int32_t textTag, std::string_view text, bool asInteger) {
    CCParameterHost* host = parameterSet();
    float number = 0;
    bool parameter = host && textTag >= 0 && textTag < host->parameterCount() && host->hasParameter(textTag);
    if (parameter) {
        // The parameter knows its units and display scale.
        if (!host->parseText(textTag, text, number)) return false;
        if (asInteger) {
            applyValue(fromNormalised(number), Notify::yes, Redraw::yes, SelfOnly::yes, Force::yes);
            return true;
        }
    } else {
        if (text.find_first_of("0123456789") == std::string_view::npos) return false;
        double parsed = parseDecimalReal(text);
        if (!std::isfinite(parsed)) return false;
        number = static_cast<float>(parsed);
        if (asInteger) {
            // Without a parameter the typed number is the value itself, not a
            // normalised one: "42" means 42.
            double rounded = std::round(parsed);
            rounded = std::clamp(rounded, double(INT32_MIN), double(INT32_MAX));
            applyValue(static_cast<int32_t>(rounded), Notify::yes, Redraw::yes, SelfOnly::yes, Force::yes);
            return true;
        }
    }
    floatMode = 1;
    floatValue = number;
    typedFloatPending = true;
    applyValue(fromNormalised(number), Notify::yes, Redraw::yes, SelfOnly::yes, Force::yes);
    return true;
}

void CControl::setGroupSelector(uint16_t bits, bool on) {
    selectorBits = bits;
    isGroupSelector = on;
    if (on)
        if (CCPageObject* p = getParent()) p->setHasSelector(true);
}

void CControl::setLinkedText(CCTextCtrl* text) {
    if (linkedText == text) return;
    if (linkedText) linkedText->setOwner(nullptr);
    linkedText = text;
    if (!text) return;
    text->setOwner(this);
    textBuffer = displayText();
    text->setText(textBuffer);
}

bool CControl::setOverlay(int32_t bitmapId) {
    if (overlay) {
        releaseBitmap(overlay);
        overlay = nullptr;
    }
    bool ok = true;
    if (bitmapId != 0) {
        overlay = acquireBitmap(bitmapId);
        ok = overlay != nullptr;
    }
    invalidate(true);
    return ok;
}

bool CControl::setLabelFont(int32_t bitmapId, int32_t frameWidth, int32_t firstChar) {
    CCImageStrip* strip = acquireStrip(bitmapId, frameWidth);
    if (!strip) return false;
    labelFontHeight = strip->getHeight();
    labelFont = std::make_unique<CCBitmapFont>(strip, firstChar);
    return true;
}

void CControl::drawBackgroundFitted(CCDrawContext& ctx) {
    CCBitmap* bitmap = getBackgroundBitmap();
    if (!bitmap) return;
    constexpr int32_t kEdge = 6;
    const int32_t width = bounds.width();
    if (bitmap->getWidth() <= width || width <= kEdge) {
        ctx.drawBitmap(*bitmap, {bounds.left, bounds.top});
        return;
    }
    const int32_t height = bitmap->getHeight();
    ctx.drawBitmap(*bitmap, {bounds.left, bounds.top}, {0, 0}, {width - kEdge, height});
    ctx.drawBitmap(*bitmap, {bounds.right - kEdge, bounds.top}, {bitmap->getWidth() - kEdge, 0},
                   {kEdge, height});
}

CCWindowHost* CControl::window() {
    CCPageManager* m = manager();
    return m ? m->windowHost() : nullptr;
}

void CControl::captureMouse(bool on) {
    if (CCPageManager* m = manager()) {
        m->setCapture(this, on);
        return;
    }
    setHasCapture(on);
}

void CControl::drawSelectorFace(CCDrawContext& ctx, const std::string& text, int32_t alignment) {
    {
        CCDrawStateSaver saver(ctx);
        if (mouseOver && isEnabled()) ctx.setTint(CCButtonTints{}.hover);
        drawBackgroundFitted(ctx);
    }
    if (text.empty()) return;
    if (CCFontInterface* f = font())
        f->drawText(ctx, text, {bounds.left + 3, bounds.top, bounds.right - 3, bounds.bottom}, alignment);
}
