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

void fileIcon(cairo_t* cr, double cx, double cy) {
    cairo_move_to(cr, cx - 3.5, cy - 5);
    cairo_line_to(cr, cx + 1.5, cy - 5);
    cairo_line_to(cr, cx + 3.5, cy - 3);
    cairo_line_to(cr, cx + 3.5, cy + 5);
    cairo_line_to(cr, cx - 3.5, cy + 5);
    cairo_close_path(cr);
    cairo_stroke(cr);
}

void upIcon(cairo_t* cr, double cx, double cy) {
    cairo_move_to(cr, cx - 4, cy + 2.5);
    cairo_line_to(cr, cx, cy - 2.5);
    cairo_line_to(cr, cx + 4, cy + 2.5);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void downIcon(cairo_t* cr, double cx, double cy) {
    cairo_move_to(cr, cx - 4, cy - 2.5);
    cairo_line_to(cr, cx, cy + 2.5);
    cairo_line_to(cr, cx + 4, cy - 2.5);
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

// Text in the house face, centred on (cx, cy).
void centredText(cairo_t* cr, const char* text, double cx, double cy, double size, bool bold) {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text, &e);
    cairo_move_to(cr, cx - e.width / 2 - e.x_bearing, cy - e.height / 2 - e.y_bearing);
    cairo_show_text(cr, text);
}

// A strip of two frames side by side: frame 0 at rest, frame 1 lit (amber).
cairo_surface_t* twoFrameStrip(int w, int h, void (*face)(cairo_t*, int w, int h, bool lit)) {
    cairo_surface_t* s = newSurface(2 * w, h);
    cairo_t* cr = cairo_create(s);
    for (int i = 0; i < 2; ++i) {
        cairo_save(cr);
        cairo_translate(cr, i * w, 0);
        cairo_rectangle(cr, 0, 0, w, h);
        cairo_clip(cr);
        face(cr, w, h, i == 1);
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    return s;
}

void litFrame(cairo_t* cr, int w, int h, bool lit) {
    roundedRect(cr, 0.5, 0.5, w - 1, h - 1, 3.5);
    setSource(cr, lit ? kAmberDim : kBodyDeep, lit ? 0.95 : 0.75);
    cairo_fill_preserve(cr);
    setSource(cr, lit ? kAmber : kOlive);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    setSource(cr, lit ? kAmber : kCream);
    cairo_set_line_width(cr, 1.6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
}

void closeFace(cairo_t* cr, int w, int h, bool lit) {
    litFrame(cr, w, h, lit);
    crossIcon(cr, w / 2.0, h / 2.0);
}

void minimiseFace(cairo_t* cr, int w, int h, bool lit) {
    litFrame(cr, w, h, lit);
    cairo_move_to(cr, w / 2.0 - 4, h / 2.0 + 3);
    cairo_line_to(cr, w / 2.0 + 4, h / 2.0 + 3);
    cairo_stroke(cr);
}

// Keep-on-top: a pin, drawn in cream for the button to tint.
void pinIcon(cairo_t* cr, double cx, double cy) {
    cairo_arc(cr, cx, cy - 2, 2.5, 0, 2 * kPi);
    cairo_stroke(cr);
    cairo_move_to(cr, cx, cy + 0.5);
    cairo_line_to(cr, cx, cy + 5);
    cairo_stroke(cr);
}

// The pot-drag preference: a circular arrow (frame 0) or a vertical one (frame 1).
void potModeFace(cairo_t* cr, int w, int h, bool linear) {
    litFrame(cr, w, h, false);
    const double cx = w / 2.0, cy = h / 2.0;
    if (!linear) {
        cairo_arc(cr, cx, cy, 4.5, kPi * 0.75, kPi * 2.25);
        cairo_stroke(cr);
        cairo_move_to(cr, cx + 4.5 * std::cos(kPi * 0.25) - 2.5, cy + 4.5 * std::sin(kPi * 0.25) + 0.5);
        cairo_line_to(cr, cx + 4.5 * std::cos(kPi * 0.25), cy + 4.5 * std::sin(kPi * 0.25));
        cairo_line_to(cr, cx + 4.5 * std::cos(kPi * 0.25) + 0.5, cy + 4.5 * std::sin(kPi * 0.25) - 2.5);
        cairo_stroke(cr);
    } else {
        cairo_move_to(cr, cx, cy - 5);
        cairo_line_to(cr, cx, cy + 5);
        cairo_move_to(cr, cx - 2.5, cy - 2.5);
        cairo_line_to(cr, cx, cy - 5);
        cairo_line_to(cr, cx + 2.5, cy - 2.5);
        cairo_move_to(cr, cx - 2.5, cy + 2.5);
        cairo_line_to(cr, cx, cy + 5);
        cairo_line_to(cr, cx + 2.5, cy + 2.5);
        cairo_stroke(cr);
    }
}

// The vowel chart's orientation ring around a handle picture: olive at rest,
// amber when that end's filters play the formants the other way round.
void ringFace(cairo_t* cr, int w, int h, bool lit) {
    cairo_arc(cr, w / 2.0, h / 2.0, w / 2.0 - 1, 0, 2 * kPi);
    setSource(cr, lit ? kAmber : kOlive);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

// A panel shown over the page: the dark body with an amber-edged frame.
cairo_surface_t* dialogBox(int w, int h) {
    cairo_surface_t* s = newSurface(w, h);
    cairo_t* cr = cairo_create(s);
    roundedRect(cr, 0.5, 0.5, w - 1, h - 1, 8);
    setSource(cr, kBodyDeep, 0.97);
    cairo_fill_preserve(cr);
    setSource(cr, kAmber, 0.8);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    cairo_destroy(cr);
    return s;
}

// The pointer shapes of the controls, 24 x 24, drawn cream with a dark edge
// so they read on the dark body and on light dialogs alike; the hot spot is
// the middle for the knobs and the finger's tip (8, 2) for buttons.
void cursorStroke(cairo_t* cr) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    setSource(cr, kBodyDeep);
    cairo_set_line_width(cr, 4.0);
    cairo_stroke_preserve(cr);
    setSource(cr, kCream);
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
}

cairo_surface_t* buttonCursor() {
    cairo_surface_t* s = newSurface(24, 24);
    cairo_t* cr = cairo_create(s);
    // A pointing finger: the tip at (8, 2).
    cairo_move_to(cr, 8, 2);
    cairo_line_to(cr, 8, 14);
    cairo_move_to(cr, 8, 9);
    cairo_curve_to(cr, 10, 7, 12, 8, 12, 10);
    cairo_curve_to(cr, 14, 8, 16, 9, 16, 11);
    cairo_curve_to(cr, 18, 10, 19, 11, 19, 13);
    cairo_line_to(cr, 19, 17);
    cairo_curve_to(cr, 19, 20, 17, 22, 14, 22);
    cairo_line_to(cr, 11, 22);
    cairo_curve_to(cr, 9, 22, 8, 20, 6, 17);
    cairo_line_to(cr, 4, 14);
    cursorStroke(cr);
    cairo_destroy(cr);
    return s;
}

// Up and down: two arrow heads on a short stem.
cairo_surface_t* linearPotCursor() {
    cairo_surface_t* s = newSurface(24, 24);
    cairo_t* cr = cairo_create(s);
    cairo_move_to(cr, 12, 3);
    cairo_line_to(cr, 12, 21);
    cairo_move_to(cr, 7, 8);
    cairo_line_to(cr, 12, 3);
    cairo_line_to(cr, 17, 8);
    cairo_move_to(cr, 7, 16);
    cairo_line_to(cr, 12, 21);
    cairo_line_to(cr, 17, 16);
    cursorStroke(cr);
    cairo_destroy(cr);
    return s;
}

// Round: an open circle with an arrow head, as a knob turns.
cairo_surface_t* circularPotCursor() {
    cairo_surface_t* s = newSurface(24, 24);
    cairo_t* cr = cairo_create(s);
    cairo_arc(cr, 12, 12, 7.5, kPi * 0.8, kPi * 2.3);
    const double ex = 12 + 7.5 * std::cos(kPi * 2.3), ey = 12 + 7.5 * std::sin(kPi * 2.3);
    cairo_move_to(cr, ex - 4, ey - 1);
    cairo_line_to(cr, ex, ey);
    cairo_line_to(cr, ex + 1, ey - 4);
    cursorStroke(cr);
    cairo_destroy(cr);
    return s;
}

// The maker's name as a quiet wordmark; the button tints it on hover.
cairo_surface_t* logoButton(int w, int h) {
    cairo_surface_t* s = newSurface(w, h);
    cairo_t* cr = cairo_create(s);
    setSource(cr, kCream);
    centredText(cr, "PLAVIK", w / 2.0, h / 2.0 - 3, 12, true);
    setSource(cr, kCream, 0.7);
    centredText(cr, "AUDIO", w / 2.0, h / 2.0 + 8, 6.5, false);
    cairo_destroy(cr);
    return s;
}

// A mode button with a caption, cream on the dark body; the radio tints it.
cairo_surface_t* captionButton(int w, int h, const char* caption, double size = 8.5) {
    cairo_surface_t* s = newSurface(w, h);
    cairo_t* cr = cairo_create(s);
    buttonFrame(cr, w, h);
    setSource(cr, kCream);
    centredText(cr, caption, w / 2.0, h / 2.0, size, true);
    cairo_destroy(cr);
    return s;
}

// A tab of the tab selector: two frames, the chosen one lit with an amber rule.
cairo_surface_t* tabStrip(int w, int h, const char* caption) {
    cairo_surface_t* s = newSurface(2 * w, h);
    cairo_t* cr = cairo_create(s);
    for (int i = 0; i < 2; ++i) {
        const bool chosen = i == 1;
        const double x = i * w;
        cairo_new_path(cr);
        cairo_move_to(cr, x + 0.5, h);
        cairo_line_to(cr, x + 0.5, 4);
        cairo_arc(cr, x + 4.5, 4.5, 4, kPi, 1.5 * kPi);
        cairo_arc(cr, x + w - 4.5, 4.5, 4, 1.5 * kPi, 2 * kPi);
        cairo_line_to(cr, x + w - 0.5, h);
        setSource(cr, chosen ? kBodyLight : kBodyDeep, 0.95);
        cairo_fill_preserve(cr);
        setSource(cr, chosen ? kCream : kOlive, chosen ? 0.9 : 1.0);
        cairo_set_line_width(cr, 1.0);
        cairo_stroke(cr);
        if (chosen) {
            setSource(cr, kAmber);
            cairo_rectangle(cr, x + 6, h - 3, w - 12, 2);
            cairo_fill(cr);
        }
        setSource(cr, chosen ? kCream : kOlive);
        centredText(cr, caption, x + w / 2.0, h / 2.0, 9, true);
    }
    cairo_destroy(cr);
    return s;
}

void sweepFace(cairo_t* cr, int w, int h, bool lit) {
    litFrame(cr, w, h, lit);
    cairo_move_to(cr, 4, h - 4);
    cairo_curve_to(cr, w * 0.45, h - 4, w * 0.5, 3, w - 4, 4);
    cairo_stroke(cr);
}

void vowelFace(cairo_t* cr, int w, int h, bool lit) {
    litFrame(cr, w, h, lit);
    cairo_move_to(cr, w / 2.0, 3.5);
    cairo_line_to(cr, w - 6, h - 3.5);
    cairo_line_to(cr, 6, h - 3.5);
    cairo_close_path(cr);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
}

// The well behind a selector or text field: a sunken dark strip with an olive
// frame; selectors add a small cream arrow at the right.
cairo_surface_t* fieldWell(int w, int h, bool arrow) {
    cairo_surface_t* s = newSurface(w, h);
    cairo_t* cr = cairo_create(s);
    roundedRect(cr, 0.5, 0.5, w - 1, h - 1, 2.5);
    cairo_pattern_t* well = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgb(well, 0, kBodyDeep.r * 0.6, kBodyDeep.g * 0.6, kBodyDeep.b * 0.6);
    cairo_pattern_add_color_stop_rgb(well, 1, kBody.r, kBody.g, kBody.b);
    cairo_set_source(cr, well);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(well);
    setSource(cr, kOlive);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    if (arrow) {
        setSource(cr, kCream, 0.85);
        cairo_move_to(cr, w - 10, h / 2.0 - 1.5);
        cairo_line_to(cr, w - 4, h / 2.0 - 1.5);
        cairo_line_to(cr, w - 7, h / 2.0 + 2);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
    cairo_destroy(cr);
    return s;
}

// The busy overlay: a dark plate with an olive frame and a row of amber dots.
cairo_surface_t* busyPanel(int w, int h) {
    cairo_surface_t* s = newSurface(w, h);
    cairo_t* cr = cairo_create(s);
    roundedRect(cr, 0.5, 0.5, w - 1, h - 1, 6);
    setSource(cr, kBodyDeep, 0.92);
    cairo_fill_preserve(cr);
    setSource(cr, kOlive);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    for (int i = 0; i < 5; ++i) {
        setSource(cr, kAmber, 0.3 + 0.14 * i);
        cairo_arc(cr, w / 2.0 + (i - 2) * 14, h / 2.0, 3.2, 0, 2 * kPi);
        cairo_fill(cr);
    }
    cairo_destroy(cr);
    return s;
}

// A progress track (lit == false) or its amber fill (lit == true).
cairo_surface_t* progressBar(int w, int h, bool fill) {
    cairo_surface_t* s = newSurface(w, h);
    cairo_t* cr = cairo_create(s);
    roundedRect(cr, 0.5, 0.5, w - 1, h - 1, h / 2.0 - 0.5);
    if (fill) {
        cairo_pattern_t* glow = cairo_pattern_create_linear(0, 0, 0, h);
        cairo_pattern_add_color_stop_rgb(glow, 0, 1.0, 0.8, 0.4);
        cairo_pattern_add_color_stop_rgb(glow, 1, kAmber.r * 0.7, kAmber.g * 0.7, kAmber.b * 0.7);
        cairo_set_source(cr, glow);
        cairo_fill(cr);
        cairo_pattern_destroy(glow);
    } else {
        setSource(cr, kBodyDeep);
        cairo_fill_preserve(cr);
        setSource(cr, kOlive);
        cairo_set_line_width(cr, 1.0);
        cairo_stroke(cr);
    }
    cairo_destroy(cr);
    return s;
}

} // namespace

void addControlImages(std::vector<Image>& images) {
    images.push_back({203, 32, knobStrip(64)});
    images.push_back({161, 32, lampStrip(12, kAmber)});
    images.push_back({162, 32, lampStrip(16, kAmber)});
    images.push_back({163, 32, lampStrip(12, kLampRed)});
    // The preset buttons say what they do: a player should not have to guess.
    images.push_back({164, 32, captionButton(36, 16, "DELETE", 7)});
    images.push_back({165, 32, captionButton(36, 16, "STORE", 7)});
    images.push_back({166, 32, captionButton(36, 16, "REVERT", 7)});
    images.push_back({167, 32, captionButton(32, 16, "UNDO", 7)});
    images.push_back({168, 32, captionButton(32, 16, "REDO", 7)});
    images.push_back({169, 32, captionButton(38, 16, "COMPARE", 6)});
    images.push_back({216, 32, iconButton(20, 16, fileIcon)});
    images.push_back({217, 32, iconButton(16, 16, upIcon)});
    images.push_back({218, 32, iconButton(16, 16, downIcon)});
    images.push_back({224, 32, iconButton(18, 12, swapIcon)});
    images.push_back({241, 32, iconButton(24, 12, switchIcon)});

    // Window buttons, tabs, mode buttons, view switch, fields and panels.
    images.push_back({212, 32, twoFrameStrip(18, 14, closeFace)});
    images.push_back({213, 32, iconButton(18, 14, pinIcon)});
    images.push_back({214, 32, twoFrameStrip(18, 14, minimiseFace)});
    images.push_back({215, 32, twoFrameStrip(24, 16, potModeFace)});
    images.push_back({220, 32, captionButton(40, 16, "PEDAL")});
    images.push_back({221, 32, captionButton(40, 16, "LFO")});
    images.push_back({222, 32, captionButton(40, 16, "ENV")});
    images.push_back({223, 32, captionButton(40, 16, "PITCH")});
    images.push_back({230, 32, tabStrip(72, 20, "PRESET")});
    images.push_back({235, 32, tabStrip(72, 20, "SETLIST")});
    images.push_back({234, 32, tabStrip(72, 20, "MIDI")});
    images.push_back({231, 32, tabStrip(72, 20, "SETTINGS")});
    images.push_back({236, 32, tabStrip(72, 20, "LIBRARY")});
    images.push_back({232, 32, twoFrameStrip(24, 16, sweepFace)});
    images.push_back({233, 32, twoFrameStrip(24, 16, vowelFace)});
    images.push_back({242, 32, fieldWell(180, 16, true)});
    images.push_back({250, 32, fieldWell(176, 16, false)});
    images.push_back({251, 32, fieldWell(90, 16, true)});
    images.push_back({260, 32, progressBar(200, 8, false)});
    images.push_back({261, 32, progressBar(200, 8, true)});
    images.push_back({581, 32, busyPanel(200, 48)});
    images.push_back({187, 32, twoFrameStrip(16, 16, ringFace)});
    images.push_back({252, 32, captionButton(56, 14, "")});
    images.push_back({254, 32, captionButton(96, 16, "")});
    images.push_back({253, 32, dialogBox(300, 130)});
    images.push_back({300, 32, buttonCursor()});
    images.push_back({302, 32, linearPotCursor()});
    images.push_back({303, 32, circularPotCursor()});
    images.push_back({255, 32, logoButton(100, 28)});
}
