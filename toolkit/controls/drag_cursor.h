#pragma once

#include "toolkit/geometry.h"
#include "toolkit/messages.h"

class CCWindowHost;

// The cursor during hidden-cursor drags. One process-wide shown flag and one
// remembered position, used on the user-interface thread only. Without a window
// only the flag and the position change (tests).

// Remembers the position and hides the cursor if it is shown.
void hideCursorAt(CCWindowHost* window, CCPoint screen);
// If hidden, moves the cursor to the position and shows it.
void showCursorAt(CCWindowHost* window, CCPoint screen);
// If hidden, shows it where it is.
void showCursor(CCWindowHost* window);
bool cursorShown();
CCPoint rememberedCursorPosition();
// The message's screen position minus the remembered position.
CCPoint dragDelta(const CCMouseMsg& msg);
