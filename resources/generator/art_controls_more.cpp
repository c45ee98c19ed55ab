// Images of the rest of the control table: encoder, spinner and wheel strips,
// slider tracks and handles, the timed buttons, the switch, meters, lists,
// the scroller, a picture and the splash screen.
#include "art.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr double kPi = 3.14159265358979323846;

cairo_surface_t* newSurface(int w, int h) {
    return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
}

// Draws `frames` frames of w x h side by side; face(cr, i, w, h) draws frame i
// at the origin, clipped to its cell.
template <class Face>
cairo_surface_t* strip(int frames, int w, int h, Face face) {
    cairo_surface_t* s = newSurface(w * frames, h);
    cairo_t* cr = cairo_create(s);
    for (int i = 0; i < frames; ++i) {
        cairo_save(cr);
        cairo_translate(cr, i * w, 0);
        cairo_rectangle(cr, 0, 0, w, h);
        cairo_clip(cr);
        face(cr, i, w, h);
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    return s;
}

template <class Face>
cairo_surface_t* single(int w, int h, Face face) {
    return strip(1, w, h, [&](cairo_t* cr, int, int fw, int fh) { face(cr, fw, fh); });
}

void text(cairo_t* cr, const char* s, double cx, double cy, double size, bool bold) {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, s, &e);
    cairo_move_to(cr, cx - e.width / 2 - e.x_bearing, cy - e.height / 2 - e.y_bearing);
    cairo_show_text(cr, s);
}

// A sunken groove from (x0, y0) to (x1, y1) along a path the caller adds.
void groove(cairo_t* cr, double width) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_path_t* path = cairo_copy_path(cr);
    setSource(cr, kOlive);
    cairo_set_line_width(cr, width + 2);
    cairo_stroke(cr);
    cairo_append_path(cr, path);
    setSource(cr, kBodyDeep);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
    cairo_path_destroy(path);
}

// A round lamp centred in a size x size cell, lit or dark.
void lamp(cairo_t* cr, double cx, double cy, double r, Rgb colour, bool lit) {
    if (lit) {
        cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r * 1.6);
        cairo_pattern_add_color_stop_rgba(glow, 0, colour.r, colour.g, colour.b, 0.8);
        cairo_pattern_add_color_stop_rgba(glow, 1, colour.r, colour.g, colour.b, 0);
        cairo_set_source(cr, glow);
        cairo_arc(cr, cx, cy, r * 1.6, 0, 2 * kPi);
        cairo_fill(cr);
        cairo_pattern_destroy(glow);
    }
    cairo_pattern_t* dome = cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.35, 0.3, cx, cy, r);
    if (lit) {
        cairo_pattern_add_color_stop_rgb(dome, 0, 1.0, 0.97, 0.85);
        cairo_pattern_add_color_stop_rgb(dome, 1, colour.r, colour.g, colour.b);
    } else {
        cairo_pattern_add_color_stop_rgb(dome, 0, colour.r * 0.42, colour.g * 0.36, colour.b * 0.3);
        cairo_pattern_add_color_stop_rgb(dome, 1, colour.r * 0.16, colour.g * 0.12, colour.b * 0.1);
    }
    cairo_set_source(cr, dome);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(dome);
    setSource(cr, kOlive, 0.9);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
}

void plate(cairo_t* cr, double w, double h, double radius, Rgb edge) {
    roundedRect(cr, 0.5, 0.5, w - 1, h - 1, radius);
    setSource(cr, kBodyDeep, 0.9);
    cairo_fill_preserve(cr);
    setSource(cr, edge);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

// The encoder: an endless knob with a cream dot and a ring of ticks. Frame i
// points i / frames of a turn clockwise from straight down.
void encoderFace(cairo_t* cr, int i, int frames) {
    const double cx = 16, cy = 15.5;
    const double angle = kPi / 2 + 2 * kPi * i / frames;
    setSource(cr, kOlive, 0.8);
    cairo_set_line_width(cr, 1.0);
    for (int t = 0; t < 24; ++t) {
        const double a = 2 * kPi * t / 24;
        cairo_move_to(cr, cx + std::cos(a) * 13, cy + std::sin(a) * 13);
        cairo_line_to(cr, cx + std::cos(a) * 14.8, cy + std::sin(a) * 14.8);
    }
    cairo_stroke(cr);
    cairo_pattern_t* body = cairo_pattern_create_radial(cx - 3, cy - 4, 1, cx, cy, 11.5);
    cairo_pattern_add_color_stop_rgb(body, 0, 0.36, 0.30, 0.24);
    cairo_pattern_add_color_stop_rgb(body, 1, kBodyDeep.r, kBodyDeep.g, kBodyDeep.b);
    cairo_set_source(cr, body);
    cairo_arc(cr, cx, cy, 11.5, 0, 2 * kPi);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(body);
    setSource(cr, kOlive);
    cairo_stroke(cr);
    // Knurls turn with the knob, so the turning shows all round.
    setSource(cr, kOlive, 0.75);
    for (int k = 0; k < 12; ++k) {
        const double a = angle + 2 * kPi * k / 12;
        cairo_arc(cr, cx + std::cos(a) * 10, cy + std::sin(a) * 10, 1.1, 0, 2 * kPi);
        cairo_fill(cr);
    }
    setSource(cr, kAmber);
    cairo_arc(cr, cx + std::cos(angle) * 7, cy + std::sin(angle) * 7, 2, 0, 2 * kPi);
    cairo_fill(cr);
}

// The spinner: a slotted wheel; 16 frames make a quarter turn of its four slots.
void spinnerFace(cairo_t* cr, int i, int frames) {
    const double cx = 12, cy = 12;
    const double angle = (kPi / 2) * i / frames;
    setSource(cr, kBodyLight);
    cairo_arc(cr, cx, cy, 10.5, 0, 2 * kPi);
    cairo_fill_preserve(cr);
    setSource(cr, kOlive);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    for (int k = 0; k < 4; ++k) {
        const double a = angle + k * kPi / 2;
        setSource(cr, k == 0 ? kAmber : kCream, k == 0 ? 1.0 : 0.7);
        cairo_set_line_width(cr, 2.2);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, cx + std::cos(a) * 3.5, cy + std::sin(a) * 3.5);
        cairo_line_to(cr, cx + std::cos(a) * 8.5, cy + std::sin(a) * 8.5);
        cairo_stroke(cr);
    }
    setSource(cr, kBodyDeep);
    cairo_arc(cr, cx, cy, 2.2, 0, 2 * kPi);
    cairo_fill(cr);
}

// The modulation wheel seen edge on in its slot: ridges roll down as the
// value rises; a cream mark rides from the bottom to the top.
void modWheelFace(cairo_t* cr, int i, int frames, int w, int h) {
    plate(cr, w, h, 3, kOlive);
    const double top = 4, bottom = h - 4, mid = (top + bottom) / 2, radius = (bottom - top) / 2;
    cairo_pattern_t* shade = cairo_pattern_create_linear(0, top, 0, bottom);
    cairo_pattern_add_color_stop_rgb(shade, 0, kBodyDeep.r, kBodyDeep.g, kBodyDeep.b);
    cairo_pattern_add_color_stop_rgb(shade, 0.5, 0.36, 0.30, 0.24);
    cairo_pattern_add_color_stop_rgb(shade, 1, kBodyDeep.r, kBodyDeep.g, kBodyDeep.b);
    cairo_set_source(cr, shade);
    cairo_rectangle(cr, 4, top, w - 8, bottom - top);
    cairo_fill(cr);
    cairo_pattern_destroy(shade);
    const double turn = double(i) / (frames - 1);
    for (int k = 0; k < 10; ++k) {
        const double a = std::fmod(k / 10.0 * kPi + turn * kPi * 0.8, kPi);
        const double y = mid - std::cos(a) * radius;
        setSource(cr, kBody, 0.4 + 0.6 * std::sin(a));
        cairo_rectangle(cr, 4, y - 0.5, w - 8, 1);
        cairo_fill(cr);
    }
    const double markY = bottom - 2 - turn * (bottom - top - 4);
    setSource(cr, kAmber);
    cairo_rectangle(cr, 4, markY - 1, w - 8, 2);
    cairo_fill(cr);
}

// Slider tracks: a groove along the handle's travel and a small "+" and "-" in
// the step areas at its ends (the first step area adds one).
void plus(cairo_t* cr, double cx, double cy) {
    cairo_move_to(cr, cx - 2.5, cy);
    cairo_line_to(cr, cx + 2.5, cy);
    cairo_move_to(cr, cx, cy - 2.5);
    cairo_line_to(cr, cx, cy + 2.5);
}

void minus(cairo_t* cr, double cx, double cy) {
    cairo_move_to(cr, cx - 2.5, cy);
    cairo_line_to(cr, cx + 2.5, cy);
}

void stepMarks(cairo_t* cr, double px, double py, double mx, double my) {
    setSource(cr, kCream, 0.7);
    cairo_set_line_width(cr, 1.0);
    plus(cr, px, py);
    minus(cr, mx, my);
    cairo_stroke(cr);
}

void verticalTrack(cairo_t* cr, int w, int h) {
    cairo_move_to(cr, w / 2.0, 13);
    cairo_line_to(cr, w / 2.0, h - 13);
    groove(cr, 3);
    setSource(cr, kOlive, 0.8);
    cairo_set_line_width(cr, 1.0);
    for (int t = 0; t <= 10; ++t) {
        const double y = 13 + (h - 26) * t / 10.0;
        cairo_move_to(cr, 3, y + 0.5);
        cairo_line_to(cr, t % 5 == 0 ? 8 : 6, y + 0.5);
    }
    cairo_stroke(cr);
    stepMarks(cr, w / 2.0, 4, w / 2.0, h - 4);
}

void horizontalTrack(cairo_t* cr, int w, int h) {
    cairo_move_to(cr, 13, h / 2.0);
    cairo_line_to(cr, w - 13, h / 2.0);
    groove(cr, 3);
    stepMarks(cr, w - 4, h / 2.0, 4, h / 2.0);
}

// The curved track follows the curved slider's handle centre: 24 px down at its
// ends, `rise` higher at the middle.
void curvedTrack(cairo_t* cr, int w, int h) {
    const double rise = 12, left = 14, right = w - 14, low = h - 6;
    for (int k = 0; k <= 40; ++k) {
        const double u = k / 40.0;
        const double x = left + (right - left) * u, y = low - rise * 4 * u * (1 - u);
        if (k == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    groove(cr, 3);
    stepMarks(cr, w - 4, low, 4, low);
}

void capHandle(cairo_t* cr, int w, int h) {
    roundedRect(cr, 0.5, 0.5, w - 1, h - 1, 2);
    cairo_pattern_t* face = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgb(face, 0, 0.42, 0.36, 0.29);
    cairo_pattern_add_color_stop_rgb(face, 1, kBodyDeep.r, kBodyDeep.g, kBodyDeep.b);
    cairo_set_source(cr, face);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(face);
    setSource(cr, kOlive);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    setSource(cr, kCream);
    if (w > h)
        cairo_rectangle(cr, 2, h / 2.0 - 0.5, w - 4, 1);
    else
        cairo_rectangle(cr, w / 2.0 - 0.5, 2, 1, h - 4);
    cairo_fill(cr);
}

void roundHandle(cairo_t* cr, int w, int h) {
    lamp(cr, w / 2.0, h / 2.0, w / 2.0 - 1, kCream, false);
    setSource(cr, kCream);
    cairo_arc(cr, w / 2.0, h / 2.0, 1.6, 0, 2 * kPi);
    cairo_fill(cr);
}

// Flashing button: 0 lit, 1 off, 2 pressed.
void flashFace(cairo_t* cr, int i, int w, int h) {
    const bool lit = i == 0, pressed = i == 2;
    roundedRect(cr, 0.5, 0.5, w - 1, h - 1, 3.5);
    setSource(cr, lit ? kAmberDim : kBodyDeep, 0.95);
    cairo_fill_preserve(cr);
    setSource(cr, lit ? kAmber : pressed ? kCream : kOlive);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    lamp(cr, w / 2.0, h / 2.0 + (pressed ? 0.5 : 0), 3.2, kAmber, lit);
}

// Pulse button: 0 the base, 1 its glow layer.
void pulseFace(cairo_t* cr, int i, int w, int h) {
    if (i == 0) {
        roundedRect(cr, 0.5, 0.5, w - 1, h - 1, h / 2.0 - 0.5);
        setSource(cr, kBodyLight);
        cairo_fill_preserve(cr);
        setSource(cr, kCream);
        cairo_set_line_width(cr, 1.0);
        cairo_stroke(cr);
        setSource(cr, kCream);
        text(cr, "TAP", w / 2.0, h / 2.0, 8, true);
        return;
    }
    cairo_pattern_t* glow = cairo_pattern_create_radial(w / 2.0, h / 2.0, 1, w / 2.0, h / 2.0, w / 2.0);
    cairo_pattern_add_color_stop_rgba(glow, 0, 1.0, 0.85, 0.5, 0.95);
    cairo_pattern_add_color_stop_rgba(glow, 0.6, kAmber.r, kAmber.g, kAmber.b, 0.6);
    cairo_pattern_add_color_stop_rgba(glow, 1, kAmber.r, kAmber.g, kAmber.b, 0);
    cairo_set_source(cr, glow);
    roundedRect(cr, 0, 0, w, h, h / 2.0);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    setSource(cr, kBodyDeep);
    text(cr, "TAP", w / 2.0, h / 2.0, 8, true);
}

// Button menu: 0 disabled, 1 at rest, 2 pressed; three lines and an arrow.
void menuFace(cairo_t* cr, int i, int w, int h) {
    roundedRect(cr, 0.5, 0.5, w - 1, h - 1, 3.5);
    setSource(cr, i == 2 ? kBodyLight : kBodyDeep, 0.9);
    cairo_fill_preserve(cr);
    setSource(cr, i == 0 ? kOlive : kCream, i == 0 ? 0.6 : 0.85);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    setSource(cr, i == 0 ? kOlive : i == 2 ? kAmber : kCream);
    for (int k = 0; k < 3; ++k)
        cairo_rectangle(cr, 7, 4.5 + 3 * k, 12, 1.2);
    cairo_fill(cr);
    cairo_move_to(cr, w - 14, h / 2.0 - 2);
    cairo_line_to(cr, w - 6, h / 2.0 - 2);
    cairo_line_to(cr, w - 10, h / 2.0 + 2.5);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// A three-position lever switch, position 0 at the top.
void switchFace(cairo_t* cr, int i, int w, int h) {
    plate(cr, w, h, 3, kOlive);
    setSource(cr, kBodyLight);
    cairo_rectangle(cr, w / 2.0 - 2, 4, 4, h - 8);
    cairo_fill(cr);
    const double y = h / 6.0 + i * h / 3.0;
    for (int k = 0; k < 3; ++k) {
        setSource(cr, k == i ? kAmber : kOlive);
        cairo_rectangle(cr, 1.5, h / 6.0 + k * h / 3.0 - 0.5, 2, 1);
        cairo_fill(cr);
    }
    roundedRect(cr, 3.5, y - 4.5, w - 7, 9, 2);
    setSource(cr, kCream);
    cairo_fill_preserve(cr);
    setSource(cr, kOlive);
    cairo_stroke(cr);
}

// Bargraph: frame i lights i of ten segments.
void barFace(cairo_t* cr, int i, int w, int h) {
    const double cell = (w - 2) / 10.0;
    for (int k = 0; k < 10; ++k) {
        const bool lit = k < i;
        setSource(cr, lit ? (k >= 8 ? kClipRed : kAmber) : kAmberDim, lit ? 1.0 : 0.55);
        cairo_rectangle(cr, 1 + k * cell + 0.5, 1, cell - 1.5, h - 2);
        cairo_fill(cr);
    }
}

// A vertical level meter: its dark scale and its lit fill (amber, red at the top).
void meterTrack(cairo_t* cr, int w, int h) {
    plate(cr, w, h, 2, kOlive);
    setSource(cr, kAmberDim, 0.5);
    for (double y = 3; y < h - 3; y += 4) {
        cairo_rectangle(cr, 3, y, w - 6, 2.5);
        cairo_fill(cr);
    }
}

// The fill of a reversed meter grows from the other end, so its hot colours
// lie at that end's far side.
enum class MeterAxis { horizontal, vertical };
enum class MeterEnd { normal, reversed };
void meterFillImage(cairo_t* cr, int w, int h, MeterAxis axis, MeterEnd end = MeterEnd::normal) {
    const bool vertical = axis == MeterAxis::vertical;
    const bool reversed = end == MeterEnd::reversed;
    const int length = vertical ? h : w;
    for (double p = 3; p < length - 3; p += 4) {
        double share = vertical ? 1 - p / length : p / length;
        if (reversed) share = 1 - share;
        setSource(cr, share > 0.85 ? kClipRed : share > 0.6 ? kAmberHot : kAmber);
        if (vertical)
            cairo_rectangle(cr, 3, p, w - 6, 2.5);
        else
            cairo_rectangle(cr, p, 3, 2.5, h - 6);
        cairo_fill(cr);
    }
}

void hMeterTrack(cairo_t* cr, int w, int h) {
    plate(cr, w, h, 2, kOlive);
    setSource(cr, kAmberDim, 0.5);
    for (double x = 3; x < w - 3; x += 4) {
        cairo_rectangle(cr, x, 3, 2.5, h - 6);
        cairo_fill(cr);
    }
}

// Three stacked lamps, frame i lighting the lowest i; the top one warns in red.
void threeLedFace(cairo_t* cr, int i, int w, int h) {
    plate(cr, w, h, 2, kOlive);
    const Rgb colours[3] = {kAmber, kAmber, kClipRed};
    for (int k = 0; k < 3; ++k)
        lamp(cr, w / 2.0, h - 6 - k * (h - 12) / 2.0, 3.5, colours[k], k < i);
}

// The threshold meter's well with a scale of ticks every tenth.
void thresholdScale(cairo_t* cr, int w, int h) {
    plate(cr, w, h, 2, kOlive);
    setSource(cr, kOlive, 0.9);
    cairo_set_line_width(cr, 1.0);
    for (int t = 0; t <= 10; ++t) {
        const double x = 2 + (w - 5) * t / 10.0 + 0.5;
        cairo_move_to(cr, x, h - 2);
        cairo_line_to(cr, x, h - (t % 5 == 0 ? 6 : 4));
    }
    cairo_stroke(cr);
}

// The frequency meter's well: a log grid from 100 Hz to 10 kHz with labels.
void frequencyScale(cairo_t* cr, int w, int h) {
    plate(cr, w, h, 2, kOlive);
    const double left = 2, width = w - 5;
    cairo_set_line_width(cr, 1.0);
    for (int decade = 100; decade < 10000; decade *= 10) {
        for (int m = 1; m < 10; ++m) {
            const double x = left + width * std::log10(double(decade) * m / 100) / 2 + 0.5;
            setSource(cr, kOlive, m == 1 ? 1.0 : 0.45);
            cairo_move_to(cr, x, 2);
            cairo_line_to(cr, x, h - 2);
            cairo_stroke(cr);
        }
    }
    setSource(cr, kCream, 0.55);
    text(cr, "1k", left + width / 2 + 6, 6.5, 6, false);
    text(cr, "10k", w - 10, 6.5, 6, false);
}

// The picture for the image viewer: the pedal's name on a little plate.
void logo(cairo_t* cr, int w, int h) {
    plate(cr, w, h, 5, kOlive);
    setSource(cr, kAmber);
    text(cr, "TOVAN", w / 2.0, h / 2.0 - 3, 13, true);
    setSource(cr, kCream, 0.7);
    text(cr, "wah", w / 2.0, h / 2.0 + 11, 7, false);
}

void splash(cairo_t* cr, int w, int h) {
    roundedRect(cr, 0.5, 0.5, w - 1, h - 1, 8);
    cairo_pattern_t* body = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgb(body, 0, kBodyLight.r, kBodyLight.g, kBodyLight.b);
    cairo_pattern_add_color_stop_rgb(body, 1, kBodyDeep.r, kBodyDeep.g, kBodyDeep.b);
    cairo_set_source(cr, body);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(body);
    setSource(cr, kOlive);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    setSource(cr, kAmber);
    text(cr, "TOVAN", w / 2.0, h / 2.0 - 12, 30, true);
    setSource(cr, kCream, 0.85);
    text(cr, "Editor for the Tovan wah pedal", w / 2.0, h / 2.0 + 16, 9, false);
    // A sweep under the title, the pedal's two filters as amber curves.
    for (int f = 0; f < 2; ++f) {
        setSource(cr, kAmber, f == 0 ? 0.8 : 0.45);
        cairo_set_line_width(cr, 1.4);
        cairo_move_to(cr, 24, h - 18 - f * 4);
        cairo_curve_to(cr, w * 0.35, h - 18 - f * 4, w * 0.5, h - 34 - f * 6, w - 24, h - 26 - f * 8);
        cairo_stroke(cr);
    }
}

void scrollTrack(cairo_t* cr, int w, int h) {
    roundedRect(cr, 0.5, 0.5, w - 1, h - 1, w / 2.0 - 0.5);
    setSource(cr, kBodyDeep);
    cairo_fill_preserve(cr);
    setSource(cr, kOlive, 0.8);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

void scrollThumb(cairo_t* cr, int w, int h) {
    roundedRect(cr, 1.5, 1.5, w - 3, h - 3, w / 2.0 - 1.5);
    setSource(cr, kOlive);
    cairo_fill_preserve(cr);
    setSource(cr, kCream, 0.6);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

} // namespace

void addControlTableImages(std::vector<Image>& images) {
    images.push_back(
        {600, 32, strip(72, 32, 34, [](cairo_t* cr, int i, int, int) { encoderFace(cr, i, 72); })});
    images.push_back(
        {601, 32, strip(16, 24, 24, [](cairo_t* cr, int i, int, int) { spinnerFace(cr, i, 16); })});
    images.push_back({602, 32, strip(32, 20, 60, [](cairo_t* cr, int i, int w, int h) {
                          modWheelFace(cr, i, 32, w, h);
                      })});
    images.push_back({603, 32, single(24, 100, verticalTrack)});
    images.push_back({604, 32, single(20, 10, capHandle)});
    images.push_back({605, 32, single(100, 16, horizontalTrack)});
    images.push_back({606, 32, single(10, 14, capHandle)});
    images.push_back({607, 32, single(120, 30, curvedTrack)});
    images.push_back({608, 32, single(12, 12, roundHandle)});
    images.push_back({609, 32, strip(3, 24, 16, flashFace)});
    images.push_back({610, 32, strip(2, 32, 16, pulseFace)});
    images.push_back({611, 32, strip(3, 40, 16, menuFace)});
    images.push_back({612, 32, strip(3, 16, 36, switchFace)});
    images.push_back({613, 32, strip(11, 64, 8, barFace)});
    images.push_back({614, 32, strip(2, 10, 10, [](cairo_t* cr, int i, int w, int h) {
                          lamp(cr, w / 2.0, h / 2.0, 3.3, kAmber, i == 1);
                      })});
    images.push_back({615, 32, single(12, 80, meterTrack)});
    images.push_back({616, 32, single(12, 80, [](cairo_t* cr, int w, int h) {
                          meterFillImage(cr, w, h, MeterAxis::vertical);
                      })});
    images.push_back({617, 32, strip(2, 10, 10, [](cairo_t* cr, int i, int w, int h) {
                          lamp(cr, w / 2.0, h / 2.0, 3.3, kClipRed, i == 1);
                      })});
    images.push_back({618, 32, strip(4, 12, 36, threeLedFace)});
    images.push_back({619, 32, single(120, 16, thresholdScale)});
    images.push_back({620, 32, single(160, 20, frequencyScale)});
    images.push_back({621, 32, single(64, 40, logo)});
    images.push_back({622, 32, single(240, 120, splash)});
    images.push_back({623, 32, single(10, 100, scrollTrack)});
    images.push_back({624, 32, single(10, 20, scrollThumb)});
    images.push_back({625, 32, single(100, 10, hMeterTrack)});
    images.push_back({626, 32, single(100, 10, [](cairo_t* cr, int w, int h) {
                          meterFillImage(cr, w, h, MeterAxis::horizontal);
                      })});
    images.push_back({627, 32, single(12, 80, [](cairo_t* cr, int w, int h) {
                          meterFillImage(cr, w, h, MeterAxis::vertical, MeterEnd::reversed);
                      })});
    images.push_back({628, 32, single(100, 10, [](cairo_t* cr, int w, int h) {
                          meterFillImage(cr, w, h, MeterAxis::horizontal, MeterEnd::reversed);
                      })});
}
