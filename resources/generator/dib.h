#pragma once

#include <cairo.h>

#include <cstdint>
#include <vector>

// A packed device-independent bitmap (40-byte header, rows bottom-up) of a cairo
// ARGB32 surface: 32-bit keeps straight (un-premultiplied) alpha, which the
// program premultiplies when it loads; 24-bit drops alpha.
std::vector<uint8_t> packedDib(cairo_surface_t* surface, int bits);
