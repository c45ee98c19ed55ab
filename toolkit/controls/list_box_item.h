#pragma once

#include "platform/edit_box.h"
#include "toolkit/controls/control.h"

#include <memory>
#include <string>
#include <string_view>

// One row of a list: its text, highlighted while selected (value 1). A press
// selects it; a double-click on an editable row opens an edit box over it, and
// the committed text becomes the row's text and is reported with a 527 (first =
// the row's tag) to its listener or its ancestors.
class CCListBoxItem : public CControl, private EditBoxEvents {
public:
    CCListBoxItem(int32_t tag, int32_t left, int32_t top, int32_t right, int32_t bottom,
                  std::string_view text, CCPageObject* listener = nullptr, uint16_t groupMask = 0);
    ~CCListBoxItem() override;

    void drawContent(CCDrawContext& ctx) override;
    bool onControlMouse(CCMouseMsg& msg) override;
    void onDoubleClick(CCPoint point) override;
    std::string getText() const override { return text; }

    void setText(std::string_view value);
    void setEditable(bool on) { editable = on; }
    bool isEditable() const { return editable; }
    // Whether the list may delete this row (after asking).
    void setDeletable(bool on) { deletable = on; }
    bool isDeletable() const { return deletable; }
    bool isSelected() const { return value != 0; }

    // Opens the edit box over the row; false when none could be made.
    bool beginEdit();
    void endEdit(bool commit);
    bool isEditing() const { return box != nullptr; }

private:
    void editReturn() override { endEdit(true); }
    void editEscape() override { endEdit(false); }
    void editFocusLost() override { endEdit(true); }

    std::string text;
    bool editable = true;
    bool deletable = true;
    std::unique_ptr<NativeEditBox> box;
    bool closing = false;
};
