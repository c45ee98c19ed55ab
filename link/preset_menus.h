#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/link_state.h"

class TovanProcess;

// The menus of the preset selectors: every preset, by bank and group, with
// its name and description as the pedal holds them; the setlist slot menus
// list the same presets behind an "Empty" entry. Reads the names through the
// presets part, and fills the menus on the view.
class PresetMenus {
public:
    // How a preset menu is filled.
    struct Style {
        bool allPresets = true;  // the factory presets too, else the user presets only
        bool labels = false;     // the selector shows the whole item ("P05: ..."), else only its text
        bool prefixes = false;   // numbers as "P05" and "F05", else "05"
        bool clear = true;       // the menu is emptied first
        bool reuseTexts = false; // the texts of the last reading, else read from the pedal
    };

    PresetMenus(TovanProcess& process, LinkState& state);

    void fill(int32_t tag, const Style& style);
    // The preset selector and the setlist slot menus, read from the pedal.
    void rebuild();
    // "name | description" of a preset as the menus last read it; empty before.
    std::string text(int32_t preset) const {
        return preset >= 0 && static_cast<size_t>(preset) < texts.size() ? texts[static_cast<size_t>(preset)]
                                                                         : std::string();
    }

private:
    // "name | description" of a preset, read from the pedal or reused from the last read.
    std::string menuText(int32_t preset, bool reuse);

    TovanProcess& process;
    LinkState& state;
    std::vector<std::string> texts;
};
