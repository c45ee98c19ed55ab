#include "app/window_placement.h"

namespace placement {

uint32_t pack(CCPoint topLeft) {
    return (static_cast<uint32_t>(static_cast<uint16_t>(topLeft.y)) << 16) |
           static_cast<uint16_t>(static_cast<int16_t>(topLeft.x));
}

CCPoint restore(uint32_t stored, CCSize window, CCSize screen) {
    int32_t x = (stored & 0x8000u) != 0 ? 0 : static_cast<int32_t>(stored & 0x7FFFu);
    int32_t y = static_cast<int32_t>(stored) < 0 ? 0 : static_cast<int32_t>(stored >> 16);
    if (x + window.width >= screen.width) x = screen.width - window.width - 1;
    if (y + window.height >= screen.height) y = screen.height - window.height - 1;
    return {x < 0 ? 0 : x, y < 0 ? 0 : y};
}

CCPoint centre(CCSize window, CCSize screen) {
    return {(screen.width - window.width) / 2, (screen.height - window.height) / 2};
}

} // namespace placement
