#include "toolkit/controls/drag_cursor.h"

#include "toolkit/window_host.h"

namespace {

bool shown = true;
CCPoint remembered;

} // namespace

void hideCursorAt(CCWindowHost* window, CCPoint screen) {
    remembered = screen;
    if (!shown) return;
    shown = false;
    if (window) window->setCursorVisible(false);
}

void showCursorAt(CCWindowHost* window, CCPoint screen) {
    if (shown) return;
    shown = true;
    if (window) {
        window->warpCursor(screen);
        window->setCursorVisible(true);
    }
}

void showCursor(CCWindowHost* window) {
    if (shown) return;
    shown = true;
    if (window) window->setCursorVisible(true);
}

bool cursorShown() {
    return shown;
}

CCPoint rememberedCursorPosition() {
    return remembered;
}

CCPoint dragDelta(const CCMouseMsg& msg) {
    return {msg.screenX - remembered.x, msg.screenY - remembered.y};
}
