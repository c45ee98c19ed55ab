#pragma once

#include <cstdint>
#include <vector>

#include "toolkit/geometry.h"

// The window's outline from its drawn frame: per row, the runs of pixels that
// are not the key colour (pure magenta), as rectangles one pixel high, merged
// with the row above when a run repeats exactly. Pixels are 32-bit, blue first;
// `stride` is the step from one row to the next in bytes.
std::vector<CCRect> outlineRuns(const uint8_t* pixels, int32_t width, int32_t height, int32_t stride);
