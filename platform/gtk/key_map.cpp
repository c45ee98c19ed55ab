#include "platform/gtk/key_map.h"

#include <gdk/gdkkeysyms.h>

namespace {

// Virtual keys the editor knows.
constexpr int32_t kBack = 8, kTab = 9, kReturn = 13, kShift = 16, kControl = 17, kEscape = 27;
constexpr int32_t kPageUp = 33, kPageDown = 34, kEnd = 35, kHome = 36;
constexpr int32_t kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kInsert = 45, kDelete = 46;
constexpr int32_t kNumpad0 = 96, kDecimal = 110;

// The keypad without NumLock reports its movement keys; they are still its digits.
int32_t keypadWithoutNumLock(uint32_t keyval) {
    switch (keyval) {
    case GDK_KEY_KP_Insert:
        return kNumpad0;
    case GDK_KEY_KP_End:
        return kNumpad0 + 1;
    case GDK_KEY_KP_Down:
        return kNumpad0 + 2;
    case GDK_KEY_KP_Page_Down:
        return kNumpad0 + 3;
    case GDK_KEY_KP_Left:
        return kNumpad0 + 4;
    case GDK_KEY_KP_Begin:
        return kNumpad0 + 5;
    case GDK_KEY_KP_Right:
        return kNumpad0 + 6;
    case GDK_KEY_KP_Home:
        return kNumpad0 + 7;
    case GDK_KEY_KP_Up:
        return kNumpad0 + 8;
    case GDK_KEY_KP_Page_Up:
        return kNumpad0 + 9;
    case GDK_KEY_KP_Delete:
        return kDecimal;
    default:
        return 0;
    }
}

} // namespace

int32_t virtualKeyForKeyval(uint32_t keyval) {
    if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) return static_cast<int32_t>(keyval - GDK_KEY_a + 'A');
    if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) return static_cast<int32_t>(keyval - GDK_KEY_A + 'A');
    if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return static_cast<int32_t>(keyval - GDK_KEY_0 + '0');
    if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9)
        return static_cast<int32_t>(kNumpad0 + keyval - GDK_KEY_KP_0);
    if (const int32_t keypad = keypadWithoutNumLock(keyval)) return keypad;
    switch (keyval) {
    case GDK_KEY_BackSpace:
        return kBack;
    case GDK_KEY_Tab:
        return kTab;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
        return kReturn;
    case GDK_KEY_Shift_L:
    case GDK_KEY_Shift_R:
        return kShift;
    case GDK_KEY_Control_L:
    case GDK_KEY_Control_R:
        return kControl;
    case GDK_KEY_Escape:
        return kEscape;
    case GDK_KEY_space:
        return ' ';
    case GDK_KEY_Page_Up:
        return kPageUp;
    case GDK_KEY_Page_Down:
        return kPageDown;
    case GDK_KEY_End:
        return kEnd;
    case GDK_KEY_Home:
        return kHome;
    case GDK_KEY_Left:
        return kLeft;
    case GDK_KEY_Up:
        return kUp;
    case GDK_KEY_Right:
        return kRight;
    case GDK_KEY_Down:
        return kDown;
    case GDK_KEY_Insert:
        return kInsert;
    case GDK_KEY_Delete:
        return kDelete;
    case GDK_KEY_KP_Decimal:
        return kDecimal;
    default:
        return 0;
    }
}
