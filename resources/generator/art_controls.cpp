// The controls' images: the knob strip, lamps and the small tinted buttons.
#include "art.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

cairo_surface_t* newSurface(int w, int h) {
    return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
}

// One knob frame centred at (cx, cy); f from 0 (7 o'clock) to 1 (5 o'clock).
void drawKnob(cairo_t* cr, double cx, double cy, double f) {
    const double start = kPi / 2 + 0.1 * 2 * kPi;
    const double end = kPi / 2 + 0.9 * 2 * kPi;
    const double angle = start + (end - start) * f;

    cairo_pattern_t* shadow = cairo_pattern_create_radial(cx, cy + 2.5, 8, cx, cy + 2.5, 14.5);
    cairo_pattern_add_color_stop_rgba(shadow, 0, 0, 0, 0, 0.55);
    cairo_pattern_add_color_stop_rgba(shadow, 1, 0, 0, 0, 0);
    cairo_set_source(cr, shadow);
    cairo_arc(cr, cx, cy + 2.5, 14.5, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(shadow);

    // The value arc: a dim track over the whole sweep, amber up to the value.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 2.0);
    setSource(cr, kAmberDim, 0.9);
    cairo_arc(cr, cx, cy, 13.5, start, end);
    cairo_stroke(cr);
    if (f > 0.002) {
        setSource(cr, kAmber, 0.35);
        cairo_set_line_width(cr, 3.6);
        cairo_arc(cr, cx, cy, 13.5, start, angle);
        cairo_stroke(cr);
        setSource(cr, kAmber);
        cairo_set_line_width(cr, 1.8);
        cairo_arc(cr, cx, cy, 13.5, start, angle);
        cairo_stroke(cr);
    }

    cairo_pattern_t* skirt = cairo_pattern_create_linear(cx, cy - 11, cx, cy + 11);
    cairo_pattern_add_color_stop_rgb(skirt, 0, kBodyLight.r * 1.3, kBodyLight.g * 1.3, kBodyLight.b * 1.3);
    cairo_pattern_add_color_stop_rgb(skirt, 1, kBodyDeep.r, kBodyDeep.g, kBodyDeep.b);
    cairo_set_source(cr, skirt);
    cairo_arc(cr, cx, cy, 11, 0, 2 * kPi);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(skirt);
    setSource(cr, kOlive);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);

    cairo_pattern_t* cap = cairo_pattern_create_radial(cx - 3, cy - 4, 1, cx, cy, 9);
    cairo_pattern_add_color_stop_rgb(cap, 0, 0.33, 0.27, 0.22);
    cairo_pattern_add_color_stop_rgb(cap, 1, kBody.r, kBody.g, kBody.b);
    cairo_set_source(cr, cap);
    cairo_arc(cr, cx, cy, 8.5, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(cap);

    double dx = std::cos(angle), dy = std::sin(angle);
    setSource(cr, kCream);
    cairo_set_line_width(cr, 2.0);
    cairo_move_to(cr, cx + dx * 3.5, cy + dy * 3.5);
    cairo_line_to(cr, cx + dx * 10, cy + dy * 10);
    cairo_stroke(cr);
}

cairo_surface_t* knobStrip(int frames) {
    cairo_surface_t* s = newSurface(32 * frames, 34);
    cairo_t* cr = cairo_create(s);
    for (int i = 0; i < frames; ++i) {
        cairo_save(cr);
        cairo_rectangle(cr, 32 * i, 0, 32, 34);
        cairo_clip(cr);
        drawKnob(cr, 32 * i + 16, 15.5, double(i) / (frames - 1));
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    return s;
}

// A two-frame lamp strip: frame 0 off, frame 1 lit.
cairo_surface_t* lampStrip(int size, Rgb lit) {
    cairo_surface_t* s = newSurface(size * 2, size);
    cairo_t* cr = cairo_create(s);
    double r = size / 2.0;
    for (int i = 0; i < 2; ++i) {
        double cx = i * size + r, cy = r;
        if (i == 1) {
            cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
            cairo_pattern_add_color_stop_rgba(glow, 0, lit.r, lit.g, lit.b, 0.9);
            cairo_pattern_add_color_stop_rgba(glow, 1, lit.r, lit.g, lit.b, 0);
            cairo_set_source(cr, glow);
            cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
            cairo_fill(cr);
            cairo_pattern_destroy(glow);
        }
        double lr = r * 0.62;
        cairo_pattern_t* dome = cairo_pattern_create_radial(cx - lr * 0.3, cy - lr * 0.35, 0.5, cx, cy, lr);
        if (i == 1) {
            cairo_pattern_add_color_stop_rgb(dome, 0, 1.0, 0.97, 0.85);
            cairo_pattern_add_color_stop_rgb(dome, 1, lit.r, lit.g, lit.b);
        } else {
            cairo_pattern_add_color_stop_rgb(dome, 0, lit.r * 0.45, lit.g * 0.4, lit.b * 0.35);
            cairo_pattern_add_color_stop_rgb(dome, 1, lit.r * 0.18, lit.g * 0.14, lit.b * 0.1);
        }
        cairo_set_source(cr, dome);
        cairo_arc(cr, cx, cy, lr, 0, 2 * kPi);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(dome);
        setSource(cr, kOlive, 0.9);
        cairo_set_line_width(cr, 1.0);
        cairo_stroke(cr);
    }
    cairo_destroy(cr);
    return s;
}

// Buttons are drawn in cream and white: the button tints them for its state.
void buttonFrame(cairo_t* cr, int w, int h) {
    roundedRect(cr, 0.5, 0.5, w - 1, h - 1, 3.5);
    setSource(cr, kBodyDeep, 0.75);
    cairo_fill_preserve(cr);
    setSource(cr, kCream, 0.85);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

cairo_surface_t* iconButton(int w, int h, void (*icon)(cairo_t*, double cx, double cy)) {
    cairo_surface_t* s = newSurface(w, h);
    cairo_t* cr = cairo_create(s);
    buttonFrame(cr, w, h);
    setSource(cr, kCream);
    cairo_set_line_width(cr, 1.6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    icon(cr, w / 2.0, h / 2.0);
    cairo_destroy(cr);
    return s;
}

void crossIcon(cairo_t* cr, double cx, double cy) {
    cairo_move_to(cr, cx - 4, cy - 4);
    cairo_line_to(cr, cx + 4, cy + 4);
    cairo_move_to(cr, cx + 4, cy - 4);
    cairo_line_to(cr, cx - 4, cy + 4);
    cairo_stroke(cr);
}

void storeIcon(cairo_t* cr, double cx, double cy) {
    cairo_move_to(cr, cx, cy - 5);
    cairo_line_to(cr, cx, cy + 2);
    cairo_move_to(cr, cx - 3, cy - 1);
    cairo_line_to(cr, cx, cy + 2);
    cairo_line_to(cr, cx + 3, cy - 1);
    cairo_move_to(cr, cx - 6, cy + 1);
    cairo_line_to(cr, cx - 6, cy + 5);
    cairo_line_to(cr, cx + 6, cy + 5);
    cairo_line_to(cr, cx + 6, cy + 1);
    cairo_stroke(cr);
}

void revertIcon(cairo_t* cr, double cx, double cy) {
    cairo_arc(cr, cx, cy + 0.5, 4.5, -kPi * 0.85, kPi * 0.75);
    cairo_stroke(cr);
    double ax = cx + 4.5 * std::cos(-kPi * 0.85), ay = cy + 0.5 + 4.5 * std::sin(-kPi * 0.85);
    cairo_move_to(cr, ax - 0.5, ay - 3.2);
    cairo_line_to(cr, ax, ay);
    cairo_line_to(cr, ax + 3.2, ay + 0.3);
    cairo_stroke(cr);
}

void fileIcon(cairo_t* cr, double cx, double cy) {
    cairo_move_to(cr, cx - 3.5, cy - 5);
    cairo_line_to(cr, cx + 1.5, cy - 5);
    cairo_line_to(cr, cx + 3.5, cy - 3);
    cairo_line_to(cr, cx + 3.5, cy + 5);
    cairo_line_to(cr, cx - 3.5, cy + 5);
    cairo_close_path(cr);
    cairo_stroke(cr);
}

void leftIcon(cairo_t* cr, double cx, double cy) {
    cairo_move_to(cr, cx + 2.5, cy - 4);
    cairo_line_to(cr, cx - 2.5, cy);
    cairo_line_to(cr, cx + 2.5, cy + 4);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void rightIcon(cairo_t* cr, double cx, double cy) {
    cairo_move_to(cr, cx - 2.5, cy - 4);
    cairo_line_to(cr, cx + 2.5, cy);
    cairo_line_to(cr, cx - 2.5, cy + 4);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void swapIcon(cairo_t* cr, double cx, double cy) {
    cairo_move_to(cr, cx - 5, cy);
    cairo_line_to(cr, cx + 5, cy);
    cairo_move_to(cr, cx - 2.5, cy - 2.5);
    cairo_line_to(cr, cx - 5, cy);
    cairo_line_to(cr, cx - 2.5, cy + 2.5);
    cairo_move_to(cr, cx + 2.5, cy - 2.5);
    cairo_line_to(cr, cx + 5, cy);
    cairo_line_to(cr, cx + 2.5, cy + 2.5);
    cairo_stroke(cr);
}

void switchIcon(cairo_t* cr, double cx, double cy) {
    cairo_arc(cr, cx + 4, cy, 2.5, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_set_line_width(cr, 1.0);
    cairo_move_to(cr, cx - 7, cy);
    cairo_line_to(cr, cx - 1, cy);
    cairo_stroke(cr);
}

} // namespace

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void addControlImages(std::vector<Image>& images) {
    images.push_back({203, 32, knobStrip(64)});
    images.push_back({161, 32, lampStrip(12, kAmber)});
    images.push_back({162, 32, lampStrip(16, kAmber)});
    images.push_back({163, 32, lampStrip(12, rgb8(255, 96, 40))});
    images.push_back({164, 32, iconButton(40, 16, crossIcon)});
    images.push_back({165, 32, iconButton(40, 16, storeIcon)});
    images.push_back({166, 32, iconButton(40, 16, revertIcon)});
    images.push_back({216, 32, iconButton(20, 16, fileIcon)});
    images.push_back({217, 32, iconButton(16, 16, leftIcon)});
    images.push_back({218, 32, iconButton(16, 16, rightIcon)});
    images.push_back({224, 32, iconButton(18, 12, swapIcon)});
    images.push_back({241, 32, iconButton(24, 12, switchIcon)});
}
