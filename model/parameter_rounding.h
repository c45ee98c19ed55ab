#pragma once

#include <cstdint>

// The one rounding rule of the parameter layer: x × n in double precision,
// rounded to the nearest integer, with an exact half going toward zero
// (0.5 × 1 gives 0, −2.5 × 1 gives −2). Callers truncate to their width.
int64_t roundHalfTowardZero(double x, double n);

inline uint8_t roundToByte(double x, double n) {
    return static_cast<uint8_t>(roundHalfTowardZero(x, n));
}

inline uint16_t roundToWord(double x, double n) {
    return static_cast<uint16_t>(roundHalfTowardZero(x, n));
}

// Truncation toward zero that saturates instead of overflowing, for values
// that arrive from controls or files and may be far outside int32.
int32_t truncateToInt32(double x);
