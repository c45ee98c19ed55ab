#pragma once

#include <cstdint>

// The toolkit's key codes (the virtual keys of the editor's key messages) for a
// GDK key value: letters in upper case, digits, keypad digits 96-105 with
// NumLock on or off, and the editing and arrow keys. 0 for keys the editor
// does not use.
int32_t virtualKeyForKeyval(uint32_t keyval);
