#pragma once

#include "toolkit/geometry.h"
#include "toolkit/page_object.h"
#include "toolkit/value_flags.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class CCBitmap;
class CCBitmapFont;
class CCPreferenceManager;
class CCTextCtrl;
class CCWindowHost;

// The preference manager that controls whose tag names no parameter read their
// value from (updateFromParameter). Set by the application; none by default.
void setControlPreferences(CCPreferenceManager* manager);
CCPreferenceManager* controlPreferences();

// The toolkit's default label colour, copied into each control at construction.
void setDefaultLabelColour(CCColour colour);
CCColour defaultLabelColour();

// The base of every value-holding element. A control holds one integer value
// within [minimum, maximum], knows its tag (a parameter index or preference id)
// but never the parameter itself, reports each change with a 514 and turns mouse
// gestures into value changes. Parameters are reached through the manager's
// CCParameterHost by tag.
class CControl : public CCPageObject {
public:
    CControl(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t minimum,
             int32_t maximum, int32_t value = 0, CCPageObject* listener = nullptr, uint16_t groupMask = 0);
    ~CControl() override;

    bool onMessage(CCMsg& msg) override;
    bool onMouse(CCMouseMsg& msg) override;
    void setEnabled(bool on, uint8_t opacity = 0) override;
    void setVisible(bool on) override;
    // False when a child control is hit, so presses reach the children.
    bool hitTest(CCPoint point) const override;
    void draw(CCDrawContext& ctx) override;
    uint16_t setGroupMask(uint16_t set, uint16_t clear) override;
    // Own font, else the label font, else the shared bitmap font, else the default.
    CCFontInterface* font() override;
    void boundsChanged() override;

    // Value setters. notify sends a 514; redraw invalidates (selfOnly: this
    // object's chain only); the forced forms apply and notify an unchanged value.
    virtual void resendValue(Notify notify, Redraw redraw, SelfOnly selfOnly);
    virtual void setValueForced(int32_t value, Notify notify, Redraw redraw, SelfOnly selfOnly);
    virtual void setValue(int32_t value, Notify notify, Redraw redraw, SelfOnly selfOnly);
    virtual void setNormalised(float x, Notify notify = Notify::yes, Redraw redraw = Redraw::yes);
    // Re-reads the parameter (or preference) named by the tag and shows it.
    virtual void updateFromParameter();
    virtual void onDoubleClick(CCPoint point);
    virtual float toNormalised(int32_t value) const;
    virtual bool onControlMessage(CCMsg& msg);
    virtual bool onControlMouse(CCMouseMsg& msg);
    virtual void drawContent(CCDrawContext& /*ctx*/) {}
    // The control's own text for its value; empty unless a control formats one.
    virtual std::string getText() const { return {}; }
    // Narrows the label to the width of that many letters.
    virtual void layoutLabel(int32_t /*letters*/) {}
    // Sets the value from text the user typed; false when the text does not parse.
    virtual bool setValueFromText(int32_t tag, std::string_view text, bool asInteger);
    // Text typed into a linked field of a control that formats its own text.
    virtual void textEntered(int32_t /*tag*/, std::string_view /*text*/) {}
    virtual void applyValue(int32_t value, Notify notify, Redraw redraw, SelfOnly selfOnly, Force force);
    virtual bool alwaysNotify() const { return false; }
    // Whether a press on this control is its own (the 267 probe). Containers,
    // fixed texts and lamps let it through, so a press on the page's background
    // reaches no one and moves the window.
    virtual bool takesPresses() const { return true; }

    // minimum + range * x, rounded half toward zero (truncated in float mode).
    int32_t fromNormalised(float x) const;
    static int32_t computeRange(int32_t minimum, int32_t maximum);

    void setRange(int32_t minimum, int32_t maximum);
    // A selector sets its switcher parent's group to (bits << value).
    void setGroupSelector(uint16_t bits, bool on);
    void setEchoExternal(bool on) { echoExternal = on; }
    void setWrap(bool on) { wrap = on; }
    void setFloatMode(bool on) { floatMode = on; }
    void setShowLabel(bool on) { showLabel = on; }
    void setLabelColour(CCColour colour) { labelColour = colour; }
    void setLabelRect(CCRect rect) { labelRect = rect; }
    // The text field that shows this control's value; it learns its owner and
    // shows the current display text at once. None unlinks.
    void setLinkedText(CCTextCtrl* text);
    // Draws that bitmap over the content; 0 removes it. False when it is missing.
    bool setOverlay(int32_t bitmapId);
    // A bitmap font from registry strip `bitmapId` with frames `frameWidth` wide.
    bool setLabelFont(int32_t bitmapId, int32_t frameWidth, int32_t firstChar = 32);
    // A linked field hands its typed text to textEntered instead of setValueFromText.
    void setFormatsOwnText(bool on) { formatsOwnText = on; }

    int32_t getValue() const { return value; }
    int32_t getMinimum() const { return minimum; }
    int32_t getMaximum() const { return maximum; }
    int32_t getRange() const { return range; }
    bool getWrap() const { return wrap != 0; }
    bool isFloatMode() const { return floatMode != 0; }
    float getFloatValue() const { return floatValue; }
    bool isMouseOver() const { return mouseOver != 0; }
    bool getFormatsOwnText() const { return formatsOwnText; }
    CCTextCtrl* getLinkedText() const { return linkedText; }
    const CCRect& getLabelRect() const { return labelRect; }
    const std::string& getTextBuffer() const { return textBuffer; }
    // The display text of this control's value: the parameter's text, else getText,
    // else the value in decimal.
    std::string displayText() const;

protected:
    // The answer of value controls to a 513: the value fromNormalised(msg.value).
    bool applySetValueMessage(const CCMsg& msg);
    // Draws the background bitmap at the corner; one wider than the control is cut
    // in two so that its right end (a frame's edge) still closes the control.
    void drawBackgroundFitted(CCDrawContext& ctx);
    // A selector's face: its well (tinted while hovered) and the current
    // item's text inset from the edges.
    void drawSelectorFace(CCDrawContext& ctx, const std::string& text, int32_t alignment);
    // The manager's window, when there is one.
    CCWindowHost* window();
    // Takes or releases the mouse; works without a manager too (tests).
    void captureMouse(bool on);

    int32_t pressX = 0;
    int32_t pressY = 0;
    int32_t value = 0;
    int32_t minimum = 0;
    int32_t maximum = 0;
    int32_t range = 1;
    uint16_t selectorBits = 0;
    uint8_t isGroupSelector = 0;
    uint8_t floatMode = 0;
    uint8_t hoverChangedWhileHidden = 0;
    uint8_t mouseOver = 0;
    uint8_t mouseOverWhenDrawn = 0;
    uint8_t echoExternal = 0;
    uint8_t wrap = 0;
    uint8_t showLabel = 0;
    CCColour labelColour;
    CCRect labelRect;
    CCTextCtrl* linkedText = nullptr; // not owned: a sibling in the tree
    std::string textBuffer;
    std::unique_ptr<CCBitmapFont> labelFont;
    int32_t labelFontHeight = 0;
    CCBitmap* overlay = nullptr; // one registry reference
    float floatValue = 0.0f;
    bool typedFloatPending = false; // the next applyValue reports floatValue
    bool formatsOwnText = false;

private:
    friend class CCTextCtrl;
    void forgetLinkedText(CCTextCtrl* text) {
        if (linkedText == text) linkedText = nullptr;
    }
};
