// The body of the main page: the pedal's outline on magenta (the window is cut
// along it), a warm dark surface with a faint grain, and olive panel frames.
#include "art.h"

#include <cstdint>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 650;

void panel(cairo_t* cr, double x, double y, double w, double h) {
    roundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 6);
    setSource(cr, kBodyDeep, 0.55);
    cairo_fill_preserve(cr);
    setSource(cr, kOlive);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

// A fixed-seed grain so the build is reproducible.
void grain(cairo_surface_t* s) {
    cairo_surface_flush(s);
    uint8_t* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    uint32_t seed = 0x7a0a7a0au;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            seed = seed * 1664525u + 1013904223u;
            uint8_t* p = data + y * stride + x * 4;
            if (p[0] == 255 && p[1] == 0 && p[2] == 255) continue; // outside the outline
            int d = int(seed >> 29) - 3;
            for (int c = 0; c < 3; ++c) {
                int v = p[c] + d;
                p[c] = uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
            }
        }
    }
    cairo_surface_mark_dirty(s);
}

cairo_surface_t* pageBody() {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, 1, 0, 1);
    cairo_paint(cr);

    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE); // the outline must be exactly magenta or body
    roundedRect(cr, 0, 0, kWidth, kHeight, 16);
    cairo_pattern_t* body = cairo_pattern_create_linear(0, 0, 0, kHeight);
    cairo_pattern_add_color_stop_rgb(body, 0, kBodyLight.r, kBodyLight.g, kBodyLight.b);
    cairo_pattern_add_color_stop_rgb(body, 0.25, kBody.r, kBody.g, kBody.b);
    cairo_pattern_add_color_stop_rgb(body, 1, kBodyDeep.r, kBodyDeep.g, kBodyDeep.b);
    cairo_set_source(cr, body);
    cairo_fill(cr);
    cairo_pattern_destroy(body);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);

    roundedRect(cr, 3.5, 3.5, kWidth - 7, kHeight - 7, 13);
    setSource(cr, kOlive, 0.8);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);

    // Title strip, filter display well, the two filter panels and the bottom strip.
    panel(cr, 10, 44, 620, 34);
    panel(cr, 10, 84, 620, 200);
    panel(cr, 10, 292, 306, 300);
    panel(cr, 324, 292, 306, 300);
    panel(cr, 10, 600, 620, 40);
    cairo_destroy(cr);
    grain(s);
    return s;
}

} // namespace

void addPageImages(std::vector<Image>& images) {
    images.push_back({100, 24, pageBody()});
}
