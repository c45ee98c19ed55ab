#pragma once

#include <cstdint>

// Start-up and shut-down steps of the toolkit's parts, called by toolkitStart and
// toolkitStop only (in that order, and backwards).
void bitmapRegistryCreate();
void bitmapRegistryDestroy();
void fontCacheCreate();
void fontCacheDestroy();

// Composes `count` premultiplied 32-bit pixels (blue, green, red, alpha) over
// the destination row, as a 32-bit image at full opacity is composed.
void composePremultipliedRow(const uint32_t* source, uint8_t* destination, int32_t count);
