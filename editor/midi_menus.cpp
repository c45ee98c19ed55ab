#include "editor/midi_menus.h"

#include <cstdio>
#include <string>

#include "model/pedal_values.h"
#include "toolkit/controls/menu_selector_ex.h"

namespace {

constexpr int32_t kProgramGroups = 8;
constexpr int32_t kProgramsPerGroup = 16;
constexpr int32_t kControllerGroups = 4;
constexpr int32_t kControllersPerGroup = 32;

std::string controllerGroupTitle(int32_t group) {
    if (group == 0) return "14-bit controllers (Coarse)";
    if (group == 1) return "14-bit controllers (Fine)";
    char title[48];
    std::snprintf(title, sizeof title, "7-bit controllers (%d - %d)", kControllersPerGroup * group,
                  kControllersPerGroup * group + kControllersPerGroup - 1);
    return title;
}

} // namespace

void buildProgramMenu(CCMenuList& menu) {
    menu.addItem("(undefined)", 0);
    char text[24];
    for (int32_t k = 0; k < kProgramGroups; ++k) {
        const int32_t first = kProgramsPerGroup * k + 1;
        std::snprintf(text, sizeof text, "%u - %u", unsigned(first), unsigned(first + kProgramsPerGroup - 1));
        CCMenuList& group = menu.addSubList(text);
        for (int32_t j = 0; j < kProgramsPerGroup; ++j) {
            std::snprintf(text, sizeof text, "%u", unsigned(first + j));
            group.addItem(text, first + j);
        }
    }
}

void buildControllerMenu(CCMenuList& menu) {
    for (int32_t g = 0; g < kControllerGroups; ++g) {
        CCMenuList& group = menu.addSubList(controllerGroupTitle(g));
        for (int32_t i = 0; i < kControllersPerGroup; ++i) {
            const int32_t controller = kControllersPerGroup * g + i;
            // A fine controller carries its coarse partner's name.
            const int32_t named = g == 1 ? controller - kControllersPerGroup : controller;
            const std::string_view name = midiControllerName(named);
            group.addItem(std::to_string(controller) + ":" + std::string(name.empty() ? "(undefined)" : name),
                          controller);
        }
    }
}
