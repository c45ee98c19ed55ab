#pragma once

#include <cstdint>
#include <memory>
#include <string>

// A native one-line edit box placed over a drawn text field while the user types.
struct EditBoxRequest {
    // Screen pixels of the box.
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    std::string text;      // shown at opening, all of it selected
    int32_t maxLength = 0; // characters the box accepts; 0 leaves the platform's limit
    bool password = false; // show "*" for every character
    int32_t alignment = 0; // 0 left, 1 right, 2 centred
    std::string fontName = "Arial";
    int32_t fontHeight = 10; // pixels
};

// What the box reports while it is open. Any of these may destroy the box
// before returning, so the box touches nothing of its own after calling one.
class EditBoxEvents {
public:
    virtual ~EditBoxEvents() = default;
    virtual void editReturn() = 0;
    virtual void editEscape() = 0;
    virtual void editFocusLost() = 0;
    // The text changed as the user typed (or pasted).
    virtual void editChanged() {}
};

// An open box; destroying it closes the window (with its font) and reports nothing.
class NativeEditBox {
public:
    virtual ~NativeEditBox() = default;
    // The text as it stands now.
    virtual std::string text() const = 0;
};

class EditBoxHost {
public:
    virtual ~EditBoxHost() = default;
    // Opens a box with the focus; none when it cannot be created.
    virtual std::unique_ptr<NativeEditBox> openEditBox(const EditBoxRequest& request,
                                                       EditBoxEvents& events) = 0;
};

// The host the process uses; until a program installs one, no box can be opened.
EditBoxHost& editBoxHost();
// Installs a host (not owned; null restores the default). Returns the previous.
EditBoxHost* setEditBoxHost(EditBoxHost* host);
