#include "dib.h"

#include <cstddef>

namespace {

void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}
void put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

} // namespace

std::vector<uint8_t> packedDib(cairo_surface_t* surface, int bits) {
    cairo_surface_flush(surface);
    int w = cairo_image_surface_get_width(surface);
    int h = cairo_image_surface_get_height(surface);
    int srcStride = cairo_image_surface_get_stride(surface);
    const uint8_t* src = cairo_image_surface_get_data(surface);
    int bpp = bits / 8;
    int stride = (w * bpp + 3) & ~3;

    std::vector<uint8_t> out;
    out.reserve(40 + size_t(stride) * h);
    put32(out, 40);
    put32(out, uint32_t(w));
    put32(out, uint32_t(h));
    put16(out, 1);
    put16(out, uint16_t(bits));
    put32(out, 0);
    put32(out, uint32_t(stride * h));
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const uint8_t* p = src + size_t(y) * srcStride;
        size_t start = out.size();
        for (int x = 0; x < w; ++x, p += 4) {
            uint32_t a = p[3];
            for (int c = 0; c < 3; ++c) {
                uint32_t v = p[c];
                if (bits == 32 && a != 0 && a != 255) v = (v * 255 + a / 2) / a;
                out.push_back(uint8_t(v > 255 ? 255 : v));
            }
            if (bits == 32) out.push_back(uint8_t(a));
        }
        out.resize(start + stride, 0);
    }
    return out;
}
