#pragma once

#include "platform/dialogs.h"
#include "platform/edit_box.h"
#include "platform/popup_menu.h"

class GtkMainWindow;

// The platform's dialogs on GTK: message boxes and file choosers that stay
// above the editor's window, the desktop's known folders, and handing an
// address to the browser.
class GtkDialogHost : public DialogHost {
public:
    explicit GtkDialogHost(GtkMainWindow* parent = nullptr) : parent(parent) {}
    void setParent(GtkMainWindow* window) { parent = window; }

    MessageAnswer messageBox(MessageStyle style, std::string_view title, std::string_view text) override;
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override;
    std::optional<std::string> chooseFolder(std::string_view title, const std::string& start) override;
    std::optional<std::string> knownFolder(KnownFolder kind) override;
    bool openWithShell(std::string_view pathOrAddress) override;

private:
    GtkMainWindow* parent;
};

// Native pop-up menus opened at a screen point over the editor's window, modal
// until an entry is chosen or the menu is dismissed.
class GtkPopupMenus : public PopupMenuHost {
public:
    explicit GtkPopupMenus(GtkMainWindow& window) : window(window) {}
    std::optional<int32_t> trackPopupMenu(const std::vector<PopupMenuItem>& items, int32_t screenX,
                                          int32_t screenY) override;

private:
    GtkMainWindow& window;
};

// One-line edit boxes placed over a drawn text field in the editor's window.
class GtkEditBoxes : public EditBoxHost {
public:
    explicit GtkEditBoxes(GtkMainWindow& window) : window(window) {}
    std::unique_ptr<NativeEditBox> openEditBox(const EditBoxRequest& request, EditBoxEvents& events) override;

private:
    GtkMainWindow& window;
};
