#pragma once

#include "platform/edit_box.h"
#include "platform/popup_menu.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

// Pop-up menus without a display. Each menu takes the next scripted choice: a
// path of entry texts (into sub-lists) or a command; an empty script, or a path
// that names no choosable entry, closes the menu without a choice. Every menu
// shown is recorded.
class ScriptedPopupMenus : public PopupMenuHost {
public:
    struct Shown {
        std::vector<PopupMenuItem> items;
        int32_t screenX;
        int32_t screenY;
    };

    void chooseNext(std::vector<std::string> textPath) { script.push_back(Choice{std::move(textPath), {}}); }
    void chooseCommandNext(int32_t command) { script.push_back(Choice{{}, command}); }
    void cancelNext() { script.push_back(Choice{}); }

    std::optional<int32_t> trackPopupMenu(const std::vector<PopupMenuItem>& items, int32_t screenX,
                                          int32_t screenY) override;

    std::vector<Shown> shown;

private:
    struct Choice {
        std::vector<std::string> path;
        std::optional<int32_t> command;
    };
    std::deque<Choice> script;
};

// How a scripted edit ends.
enum class EditEnding { Return, Escape, FocusLost };

class ScriptedEditBoxes;

// One open box without a window. Typing replaces the text (the box opens with all
// of it selected); the key calls report at once, as a real box would.
class HeadlessEditBox : public NativeEditBox {
public:
    HeadlessEditBox(ScriptedEditBoxes& host, const EditBoxRequest& request, EditBoxEvents& events);
    ~HeadlessEditBox() override;

    std::string text() const override { return content; }
    void type(std::string text);
    // Each may destroy this box; do not use it afterwards.
    void pressReturn() { events.editReturn(); }
    void pressEscape() { events.editEscape(); }
    void loseFocus() { events.editFocusLost(); }

    const EditBoxRequest request;

private:
    ScriptedEditBoxes& host;
    EditBoxEvents& events;
    std::string content;
};

// Edit boxes without a display. Each box that opens takes the next scripted
// entry (text typed, then how the edit ends); the entry is played when the test
// calls runPending, as a real box would hear the keys only after opening.
class ScriptedEditBoxes : public EditBoxHost {
public:
    void typeNext(std::string text, EditEnding ending) { script.push_back({std::move(text), ending}); }
    // Refuses the next opening (a box that cannot be created).
    void failNext() { failures.push_back(true); }

    std::unique_ptr<NativeEditBox> openEditBox(const EditBoxRequest& request, EditBoxEvents& events) override;

    // Plays the scripted entries of the boxes opened so far; answers how many.
    int32_t runPending();
    // The box open now (the last opened), or none.
    HeadlessEditBox* current() const { return open.empty() ? nullptr : open.back(); }
    int32_t openCount() const { return int32_t(open.size()); }

    std::vector<EditBoxRequest> requests;

private:
    friend class HeadlessEditBox;
    struct Entry {
        std::string text;
        EditEnding ending;
    };
    struct Pending {
        HeadlessEditBox* box;
        Entry entry;
    };
    std::deque<Entry> script;
    std::deque<bool> failures;
    std::vector<HeadlessEditBox*> open;
    std::deque<Pending> pending;
};
