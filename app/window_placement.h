#pragma once

#include <cstdint>

#include "toolkit/geometry.h"

// Where the main window goes, from the stored "MainWindow_p" value: left in bits
// 0-15 and top in bits 16-31, each a signed 16-bit number.
namespace placement {

uint32_t pack(CCPoint topLeft);
// A negative stored left or top becomes 0; a window that would reach past the
// screen's right or bottom edge is moved to end one pixel inside it (at least 0).
CCPoint restore(uint32_t stored, CCSize window, CCSize screen);
// The window centred on a screen of that size.
CCPoint centre(CCSize window, CCSize screen);

} // namespace placement
