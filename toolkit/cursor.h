#pragma once

#include "toolkit/geometry.h"

#include <cstdint>

class CCMouseMsg;
class CCWindowHost;

// The cursor during hidden-cursor drags. One process-wide shown flag (initially
// shown) and one remembered position; user-interface thread only. Without a
// window only the flag and the position change; queries answer (0, 0).

// Remembers the position and hides the cursor if it is shown.
void hideCursorAt(CCWindowHost* window, int32_t screenX, int32_t screenY);
// If hidden: moves the cursor there and shows it.
void showCursorAt(CCWindowHost* window, int32_t screenX, int32_t screenY);
// If hidden: shows it where it is.
void showCursor(CCWindowHost* window);
// If hidden: moves the cursor to a client point of the window and shows it.
void showCursorAtClient(CCWindowHost* window, int32_t x, int32_t y);
CCPoint cursorClientPos(CCWindowHost* window);
CCPoint cursorScreenPos(CCWindowHost* window);
void setCursorPos(CCWindowHost* window, int32_t screenX, int32_t screenY);
// Where the cursor was hidden.
CCPoint rememberedCursorPosition();
// The message's screen position minus the remembered position.
CCPoint dragDelta(const CCMouseMsg& msg);
bool cursorShown();
// 0 arrow, 304 west-east, 305 north-south, 306 hand, else a program cursor.
void setCursorShape(CCWindowHost* window, int32_t id);
// Formats into a 200-byte buffer and writes it to the diagnostic trace.
void debugPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));
