#pragma once

#include "platform/edit_box.h"
#include "toolkit/controls/control.h"

#include <memory>
#include <string>
#include <string_view>

// A text field: a background bitmap with a text over it. It shows either a text
// it is given, the value text of the control it is linked to (its owner), or,
// bound to a parameter itself, that parameter's display text. An editable field
// opens a native edit box over itself on a press; what the user commits goes to
// the owner (or to the field itself when it has none).
class CCTextCtrl : public CControl, private EditBoxEvents {
public:
    // Longest text an edit box hands back.
    static constexpr size_t kEditBufferSize = 128;

    CCTextCtrl(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t bitmapId = 0,
               CCPageObject* listener = nullptr, uint16_t groupMask = 0, bool editable = false);
    ~CCTextCtrl() override;

    void drawContent(CCDrawContext& ctx) override;
    bool onControlMouse(CCMouseMsg& msg) override;
    bool onControlMessage(CCMsg& msg) override;
    void applyValue(int32_t value, Notify notify, Redraw redraw, SelfOnly selfOnly, Force force) override;
    std::string getText() const override { return text; }
    // A field that formats its own text (setFormatsOwnText) keeps what the user
    // typed as its text and reports it with a value change of its tag; the
    // receiver reads the text back.
    void textEntered(int32_t tag, std::string_view typed) override;

    // Shows this text (redrawn when it changed).
    void setText(std::string_view value);
    const std::string& getShownText() const { return text; }
    void setOwner(CControl* control);
    CControl* getOwner() const { return owner; }
    void setEditable(bool on) { editable = on; }
    bool isEditable() const { return editable; }
    void setPassword(bool on) { password = on; }
    // Characters the edit box accepts (at most kEditBufferSize - 1).
    void setMaxLength(int32_t characters) { maxLength = characters; }
    void setAlignment(int32_t value) { alignment = value; }
    // The text is handed on as it is typed, not only when it is committed (a
    // search field).
    void setReportsTyping(bool on) { reportsTyping = on; }
    int32_t getAlignment() const { return alignment; }

    // Opens the edit box over the field; a box open elsewhere in the window is
    // committed and closed first. False when the platform could not make one.
    bool beginEdit();
    // Closes this field's box, committing what was typed first when asked.
    void endEdit(bool commit);
    void finishEditing() override { endEdit(true); }
    bool isEditing() const { return box != nullptr; }

    // Control characters become spaces and surrounding spaces go; at most
    // kEditBufferSize - 1 characters are kept.
    static std::string cleanEnteredText(std::string_view typed);

private:
    void editReturn() override;
    void editEscape() override;
    void editFocusLost() override;
    void editChanged() override;
    void commit();
    void deliverText(std::string_view entered);

    std::string text;
    CControl* owner = nullptr; // not owned: the control this field shows
    bool editable = false;
    bool reportsTyping = false;
    bool password = false;
    int32_t maxLength = int32_t(kEditBufferSize) - 1;
    int32_t alignment = 2;

    // The open edit box and its state.
    std::unique_ptr<NativeEditBox> box;
    int32_t editTag = 0;
    std::string initialText;
    bool committed = false;
    bool closing = false;
};
