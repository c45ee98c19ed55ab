// The desktop icons. Each is drawn on a 64-unit square scaled to its size;
// below 48 pixels the edges are kept on whole pixels so the small sizes stay
// sharp instead of blurring.
#include "icon.h"

#include "art.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Box {
    double x0, y0, x1, y1;
    double w() const { return x1 - x0; }
    double h() const { return y1 - y0; }
};

class Grid {
public:
    explicit Grid(int size) : unit(size / 64.0), snap(size < 48) {}

    double at(double v) const { return snap ? std::round(v * unit) : v * unit; }
    Box box(Box b) const { return {at(b.x0), at(b.y0), at(b.x1), at(b.y1)}; }
    // A length in units, never thinner than `least` pixels.
    double len(double v, double least) const {
        const double px = std::max(least, v * unit);
        return snap ? std::round(px) : px;
    }
    double scale() const { return unit; }

private:
    double unit;
    bool snap;
};

void fillShaded(cairo_t* cr, Box b, Rgb top, Rgb bottom) {
    cairo_pattern_t* shade = cairo_pattern_create_linear(0, b.y0, 0, b.y1);
    cairo_pattern_add_color_stop_rgb(shade, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(shade, 1, bottom.r, bottom.g, bottom.b);
    cairo_set_source(cr, shade);
    cairo_fill(cr);
    cairo_pattern_destroy(shade);
}

void roundedBox(cairo_t* cr, Box b, double radius) {
    roundedRect(cr, b.x0, b.y0, b.w(), b.h(), std::min(radius, std::min(b.w(), b.h()) / 2));
}

// A rounded box filled top to bottom and framed inside its edge.
void panel(cairo_t* cr, Box b, double radius, Rgb top, Rgb bottom, double line, Rgb edge) {
    roundedBox(cr, b, radius);
    fillShaded(cr, b, top, bottom);
    const double half = line / 2;
    roundedBox(cr, {b.x0 + half, b.y0 + half, b.x1 - half, b.y1 - half}, std::max(0.0, radius - half));
    setSource(cr, edge);
    cairo_set_line_width(cr, line);
    cairo_stroke(cr);
}

void fillBox(cairo_t* cr, Box b, Rgb c) {
    cairo_rectangle(cr, b.x0, b.y0, b.w(), b.h());
    setSource(cr, c);
    cairo_fill(cr);
}

// The mark: a cream "T", its bar from x0 to x1 at the top of the box.
void mark(cairo_t* cr, const Grid& g, Box b, double bar, double stem) {
    const double mid = (b.x0 + b.x1) / 2;
    fillBox(cr, g.box({b.x0, b.y0, b.x1, b.y0 + bar}), kCream);
    fillBox(cr, g.box({mid - stem / 2, b.y0, mid + stem / 2, b.y1}), kCream);
}

// An amber lamp; it glows where there is room for the glow.
void lamp(cairo_t* cr, const Grid& g, double cx, double cy, double radius) {
    const double x = g.at(cx), y = g.at(cy);
    if (g.scale() < 0.5) {
        setSource(cr, kAmber);
        cairo_arc(cr, x, y, std::max(1.0, radius * 0.7 * g.scale()), 0, 2 * kPi);
        cairo_fill(cr);
        return;
    }
    const double r = radius * g.scale();
    cairo_pattern_t* glow = cairo_pattern_create_radial(x, y, r * 0.5, x, y, r * 2.2);
    cairo_pattern_add_color_stop_rgba(glow, 0, kAmber.r, kAmber.g, kAmber.b, 0.45);
    cairo_pattern_add_color_stop_rgba(glow, 1, kAmber.r, kAmber.g, kAmber.b, 0);
    cairo_set_source(cr, glow);
    cairo_arc(cr, x, y, r * 2.2, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    setSource(cr, kAmber);
    cairo_arc(cr, x, y, r, 0, 2 * kPi);
    cairo_fill(cr);
    if (r >= 4) {
        setSource(cr, kCream, 0.8);
        cairo_arc(cr, x - r * 0.3, y - r * 0.3, r * 0.3, 0, 2 * kPi);
        cairo_fill(cr);
    }
}

// A page with its top right corner folded over.
void page(cairo_t* cr, const Grid& g, Box b, double fold) {
    const double f = g.len(fold, 3);
    const double line = g.len(1.5, 1);
    const double half = line / 2;
    auto outline = [&](double in) {
        cairo_new_path(cr);
        cairo_move_to(cr, b.x0 + in, b.y0 + in);
        cairo_line_to(cr, b.x1 - f, b.y0 + in);
        cairo_line_to(cr, b.x1 - in, b.y0 + f);
        cairo_line_to(cr, b.x1 - in, b.y1 - in);
        cairo_line_to(cr, b.x0 + in, b.y1 - in);
        cairo_close_path(cr);
    };
    outline(0);
    fillShaded(cr, b, kBodyLight, kBodyDeep);
    outline(half);
    setSource(cr, kOlive);
    cairo_set_line_width(cr, line);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_stroke(cr);
    cairo_move_to(cr, b.x1 - f, b.y0);
    cairo_line_to(cr, b.x1 - f, b.y0 + f);
    cairo_line_to(cr, b.x1, b.y0 + f);
    cairo_close_path(cr);
    cairo_fill(cr);
}

} // namespace

cairo_surface_t* appIcon(int size) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(s);
    const Grid g(size);

    // The pedal's body, then the treadle that rocks on it.
    panel(cr, g.box({9.5, 3, 54.5, 61}), g.len(9, 2), kBodyLight, kBodyDeep, g.len(1.5, 1), kOlive);
    const Box treadle = g.box({16, 9, 48, 45});
    if (size >= 32) {
        panel(cr, treadle, g.len(5, 1), kTreadleTop, kBody, g.len(1, 1), kOlive);
    } else {
        roundedBox(cr, treadle, g.len(5, 1));
        fillShaded(cr, treadle, kTreadleTop, kBody);
    }
    // The rubber's ridges beside the mark, where there is room to see them.
    if (size >= 64) {
        setSource(cr, kBodyDeep);
        cairo_set_line_width(cr, g.scale());
        for (double y = 27; y <= 39; y += 4) {
            for (double x : {19.0, 38.0}) {
                cairo_move_to(cr, x * g.scale(), y * g.scale());
                cairo_line_to(cr, (x + 7) * g.scale(), y * g.scale());
            }
        }
        cairo_stroke(cr);
    }
    mark(cr, g, {21, 15, 43, 40}, 7, 7);
    lamp(cr, g, 32, 53, 3.5);

    cairo_destroy(cr);
    cairo_surface_flush(s);
    return s;
}

cairo_surface_t* documentIcon(int size, DocumentKind kind) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(s);
    const Grid g(size);

    Box front{14, 4, 50, 60};
    if (kind == DocumentKind::Backup) {
        // The whole pedal: pages stacked behind the front one.
        page(cr, g, g.box({6, 4, 42, 52}), 10);
        page(cr, g, g.box({10, 8, 46, 56}), 10);
        front = {14, 12, 50, 60};
    }
    page(cr, g, g.box(front), 12);

    const double mid = (front.y0 + front.y1) / 2;
    mark(cr, g, {24, mid - 12, 40, mid + 4}, 5, 5);
    fillBox(cr, g.box({22, mid + 10, 42, mid + 13}), kAmber);

    cairo_destroy(cr);
    cairo_surface_flush(s);
    return s;
}
