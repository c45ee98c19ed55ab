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

// The page body without the preset tab's frames; the other tabs show this
// part of it under their own frame.
cairo_surface_t* plainBody() {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    cairo_t* cr = cairo_create(s);
    setSource(cr, kOutsideShape);
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

    // The title strip: the name, and a rule under the tab selector.
    setSource(cr, kCream);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 12);
    cairo_move_to(cr, 17, 15);
    cairo_show_text(cr, "T O V A N");
    setSource(cr, kOlive, 0.9);
    cairo_move_to(cr, 10, 39.5);
    cairo_line_to(cr, 630, 39.5);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);

    panel(cr, 10, 604, 620, 40);
    cairo_destroy(cr);
    return s;
}

// The whole page as the preset tab shows it: the preset header, the two filter
// panels with a rule above their mode sub-panels.
cairo_surface_t* pageBody() {
    cairo_surface_t* s = plainBody();
    cairo_t* cr = cairo_create(s);
    panel(cr, 24, 50, 592, 70);
    for (int f = 0; f < 2; ++f) {
        const double x = 25 + 300 * f;
        panel(cr, x, 318, 290, 280);
        setSource(cr, kOlive, 0.45);
        cairo_move_to(cr, x + 6, 423.5);
        cairo_line_to(cr, x + 284, 423.5);
        cairo_stroke(cr);
    }
    cairo_destroy(cr);
    grain(s);
    return s;
}

// The tab area (20, 44)-(620, 600) of the plain body with one frame round the
// tab's contents, for the tabs other than the preset tab.
cairo_surface_t* tabBody() {
    constexpr int kLeft = 20, kTop = 44, kTabWidth = 600, kTabHeight = 556;
    cairo_surface_t* whole = plainBody();
    cairo_t* frame = cairo_create(whole);
    panel(frame, kLeft + 4, kTop + 6, kTabWidth - 8, kTabHeight - 10);
    cairo_destroy(frame);
    grain(whole);
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kTabWidth, kTabHeight);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_surface(cr, whole, -kLeft, -kTop);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(whole);
    return s;
}

} // namespace

void addPageImages(std::vector<Image>& images) {
    // Stored as 32-bit, the surface's own format: a whole-page compose then copies rows.
    images.push_back({100, 32, pageBody()});
    images.push_back({101, 32, tabBody()});
}
