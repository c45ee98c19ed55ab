#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One entry of a native pop-up menu. An entry with a sub-list opens it and is
// never chosen itself; a separator is a line that cannot be chosen.
struct PopupMenuItem {
    std::string text;
    int32_t command = 0; // what trackPopupMenu answers when this entry is chosen
    bool separator = false;
    bool checked = false;
    std::vector<PopupMenuItem> submenu;
};

// The platform's pop-up menus. The menu opens with its top-left corner at a
// screen position and the call returns once it has closed.
class PopupMenuHost {
public:
    virtual ~PopupMenuHost() = default;
    // The command of the chosen entry; nothing when the menu closed without a choice.
    virtual std::optional<int32_t> trackPopupMenu(const std::vector<PopupMenuItem>& items, int32_t screenX,
                                                  int32_t screenY) = 0;
};

// The host the process uses; until a program installs one, every menu closes
// without a choice.
PopupMenuHost& popupMenuHost();
// Installs a host (not owned; null restores the default). Returns the previous.
PopupMenuHost* setPopupMenuHost(PopupMenuHost* host);
