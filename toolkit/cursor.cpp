#include "toolkit/cursor.h"

#include "platform/trace.h"
#include "toolkit/messages.h"
#include "toolkit/window_host.h"

#include <cstdarg>
#include <cstdio>

namespace {

bool shown = true;
CCPoint remembered;

} // namespace

// Without a window only the flag and the position change, so drags can be
// tested without a display.
void hideCursorAt(CCWindowHost* window, int32_t screenX, int32_t screenY) {
    remembered = {screenX, screenY};
    if (!shown) return;
    shown = false;
    if (window) window->setCursorVisible(false);
}

void showCursorAt(CCWindowHost* window, int32_t screenX, int32_t screenY) {
    if (shown) return;
    shown = true;
    if (!window) return;
    window->warpCursor({screenX, screenY});
    window->setCursorVisible(true);
}

void showCursor(CCWindowHost* window) {
    if (shown) return;
    shown = true;
    if (window) window->setCursorVisible(true);
}

CCPoint rememberedCursorPosition() {
    return remembered;
}

void showCursorAtClient(CCWindowHost* window, int32_t x, int32_t y) {
    if (!window) return;
    CCPoint screen = window->clientToScreen({x, y});
    showCursorAt(window, screen.x, screen.y);
}

CCPoint cursorScreenPos(CCWindowHost* window) {
    return window ? window->cursorScreenPosition() : CCPoint{};
}

CCPoint cursorClientPos(CCWindowHost* window) {
    return window ? window->screenToClient(window->cursorScreenPosition()) : CCPoint{};
}

void setCursorPos(CCWindowHost* window, int32_t screenX, int32_t screenY) {
    if (window) window->warpCursor({screenX, screenY});
}

CCPoint dragDelta(const CCMouseMsg& msg) {
    return {msg.screenX - remembered.x, msg.screenY - remembered.y};
}

bool cursorShown() {
    return shown;
}

void setCursorShape(CCWindowHost* window, int32_t id) {
    if (window) window->setCursorShape(id);
}

void debugPrint(const char* format, ...) {
    char buffer[200];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    tovanTrace("%s", buffer);
}
