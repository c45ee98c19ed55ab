// The filter display's art: the sweep chart and vowel chart backgrounds, the
// four handles, the path dots and the live markers. The grids are placed with
// the same value-to-pixel rule the display uses, so a handle at 1000 Hz sits
// exactly on the 1k line.
#include "art.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kWidth = 580;
constexpr int kHeight = 176;
// The plot rectangle the main page gives the display (right and bottom inclusive edges).
constexpr int kLeft = 21;
constexpr int kTop = 16;
constexpr int kRight = 558;
constexpr int kBottom = 161;

int sweepX(double hz) {
    return kLeft + int((hz - 10) * ((kRight - kLeft) * (1.0f / 3990)));
}
int sweepY(double height) {
    return kBottom - int(height * ((kBottom - kTop) * (1.0f / 100)));
}
int vowelX(double hz) {
    return kLeft + int((hz - 10) * ((kRight - kLeft) * (1.0f / 3190)));
}
int vowelY(double hz) {
    return kBottom - int((hz - 10) * ((kBottom - kTop) * (1.0f / 1190)));
}

void text(cairo_t* cr, const char* s, double x, double y, double size, double alignX, bool bold = false) {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, s, &e);
    cairo_move_to(cr, x - e.x_advance * alignX, y);
    cairo_show_text(cr, s);
}

// The body of both charts: a dark well with an olive frame and a slightly deeper
// plot area lit faintly from below.
cairo_surface_t* chartBody() {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    cairo_t* cr = cairo_create(s);
    setSource(cr, kBody);
    cairo_paint(cr);
    roundedRect(cr, 0.5, 0.5, kWidth - 1, kHeight - 1, 6);
    cairo_pattern_t* well = cairo_pattern_create_linear(0, 0, 0, kHeight);
    cairo_pattern_add_color_stop_rgb(well, 0, kBodyDeep.r, kBodyDeep.g, kBodyDeep.b);
    cairo_pattern_add_color_stop_rgb(well, 1, kBody.r, kBody.g, kBody.b);
    cairo_set_source(cr, well);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(well);
    setSource(cr, kOlive);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);

    cairo_rectangle(cr, kLeft, kTop, kRight - kLeft + 1, kBottom - kTop + 1);
    cairo_pattern_t* plot = cairo_pattern_create_linear(0, kTop, 0, kBottom);
    cairo_pattern_add_color_stop_rgb(plot, 0, 0.055, 0.04, 0.03);
    cairo_pattern_add_color_stop_rgb(plot, 1, 0.11, 0.075, 0.045);
    cairo_set_source(cr, plot);
    cairo_fill(cr);
    cairo_pattern_destroy(plot);
    cairo_destroy(cr);
    return s;
}

void vLine(cairo_t* cr, int x, double alpha) {
    setSource(cr, kOlive, alpha);
    cairo_move_to(cr, x + 0.5, kTop);
    cairo_line_to(cr, x + 0.5, kBottom + 1);
    cairo_stroke(cr);
}

void hLine(cairo_t* cr, int y, double alpha) {
    setSource(cr, kOlive, alpha);
    cairo_move_to(cr, kLeft, y + 0.5);
    cairo_line_to(cr, kRight + 1, y + 0.5);
    cairo_stroke(cr);
}

void plotFrame(cairo_t* cr) {
    setSource(cr, kOlive);
    cairo_rectangle(cr, kLeft + 0.5, kTop + 0.5, kRight - kLeft, kBottom - kTop);
    cairo_stroke(cr);
}

const char* kiloLabel(int hz, char* buffer, size_t size) {
    if (hz < 1000)
        std::snprintf(buffer, size, "%d", hz);
    else if (hz % 1000 == 0)
        std::snprintf(buffer, size, "%dk", hz / 1000);
    else
        std::snprintf(buffer, size, "%d.%dk", hz / 1000, hz % 1000 / 100);
    return buffer;
}

cairo_surface_t* sweepChart() {
    cairo_surface_t* s = chartBody();
    cairo_t* cr = cairo_create(s);
    cairo_set_line_width(cr, 1.0);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE); // grid lines one pixel exactly
    for (int hz = 250; hz < 4000; hz += 250)
        vLine(cr, sweepX(hz), hz % 500 == 0 ? 0.55 : 0.22);
    for (int h = 10; h < 100; h += 10)
        hLine(cr, sweepY(h), h % 50 == 0 ? 0.55 : 0.22);
    plotFrame(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);

    char buffer[16];
    setSource(cr, kCream, 0.85);
    for (int hz = 0; hz <= 4000; hz += 500) {
        int x = sweepX(hz < 10 ? 10 : hz);
        text(cr, hz == 0 ? "10" : kiloLabel(hz, buffer, sizeof buffer), x, kBottom + 11, 7.5,
             hz == 0      ? 0.0
             : hz == 4000 ? 1.0
                          : 0.5);
    }
    for (int h = 0; h <= 100; h += 50) {
        std::snprintf(buffer, sizeof buffer, "%d", h);
        text(cr, buffer, kLeft - 3, sweepY(h) + 3, 7.5, 1.0);
    }
    setSource(cr, kOlive);
    text(cr, "HEIGHT", kLeft, kTop - 5, 7, 0.0, true);
    text(cr, "FREQUENCY  Hz", kRight, kTop - 5, 7, 1.0, true);
    setSource(cr, kAmber, 0.8);
    text(cr, "SWEEP", kWidth / 2.0, kTop - 5, 7.5, 0.5, true);
    cairo_destroy(cr);
    return s;
}

// The ten reference vowels by their two formants (F1 lower, F2 upper).
struct Vowel {
    int f1;
    int f2;
    const char* symbol;
};
constexpr Vowel kVowels[] = {
    {300, 2700, "i"}, {800, 1200, "ɑ"}, {600, 800, "ɔ"},  {350, 800, "u"},  {800, 2000, "æ"},
    {400, 2500, "e"}, {600, 2300, "ɛ"}, {500, 1100, "o"}, {750, 1400, "ʌ"}, {500, 1600, "ə"},
};

cairo_surface_t* vowelChart() {
    cairo_surface_t* s = chartBody();
    cairo_t* cr = cairo_create(s);
    cairo_set_line_width(cr, 1.0);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    for (int hz = 250; hz < 3200; hz += 250)
        vLine(cr, vowelX(hz), hz % 500 == 0 ? 0.55 : 0.22);
    for (int hz = 100; hz < 1200; hz += 100)
        hLine(cr, vowelY(hz), hz % 200 == 0 ? 0.55 : 0.22);
    plotFrame(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);

    char buffer[16];
    setSource(cr, kCream, 0.85);
    for (int hz = 500; hz <= 3000; hz += 500)
        text(cr, kiloLabel(hz, buffer, sizeof buffer), vowelX(hz), kBottom + 11, 7.5, 0.5);
    text(cr, "10", kLeft, kBottom + 11, 7.5, 0.0);
    for (int hz = 200; hz <= 1200; hz += 200) {
        std::snprintf(buffer, sizeof buffer, "%d", hz);
        text(cr, buffer, kLeft - 2, vowelY(hz) + 3, 6.5, 1.0);
    }
    setSource(cr, kOlive);
    text(cr, "F1  Hz", kLeft, kTop - 5, 7, 0.0, true);
    text(cr, "F2  Hz", kRight, kTop - 5, 7, 1.0, true);
    setSource(cr, kAmber, 0.8);
    text(cr, "VOWEL", kWidth / 2.0, kTop - 5, 7.5, 0.5, true);

    // Each vowel: a soft amber spot at its formants and its symbol beside it.
    for (const Vowel& v : kVowels) {
        double x = vowelX(v.f2) + 0.5, y = vowelY(v.f1) + 0.5;
        cairo_pattern_t* glow = cairo_pattern_create_radial(x, y, 0, x, y, 11);
        cairo_pattern_add_color_stop_rgba(glow, 0, kAmber.r, kAmber.g, kAmber.b, 0.22);
        cairo_pattern_add_color_stop_rgba(glow, 1, kAmber.r, kAmber.g, kAmber.b, 0);
        cairo_set_source(cr, glow);
        cairo_arc(cr, x, y, 11, 0, 2 * kPi);
        cairo_fill(cr);
        cairo_pattern_destroy(glow);
        setSource(cr, kAmberDim);
        cairo_arc(cr, x, y, 2.5, 0, 2 * kPi);
        cairo_fill_preserve(cr);
        setSource(cr, kAmber, 0.9);
        cairo_stroke(cr);
        setSource(cr, kCream, 0.9);
        text(cr, v.symbol, x + 5, y - 4, 10, 0.0, true);
    }
    cairo_destroy(cr);
    return s;
}

cairo_surface_t* newSurface(int w, int h) {
    return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
}

// The display draws a bitmap with pixel (size + 1) / 2 on the point, so the
// art is centred on that pixel's centre; even sizes keep the shape whole.
double centreOf(int size) {
    return (size + 1) / 2 + 0.5;
}

// A handle: heel points are discs, toe points diamonds, each in its filter's
// colour with a dark core and a faint halo so it reads over the dotted path.
cairo_surface_t* handle(Rgb colour, bool toe) {
    constexpr int kSize = 16;
    cairo_surface_t* s = newSurface(kSize, kSize);
    cairo_t* cr = cairo_create(s);
    const double c = centreOf(kSize);
    cairo_pattern_t* halo = cairo_pattern_create_radial(c, c, 3, c, c, c - 1);
    cairo_pattern_add_color_stop_rgba(halo, 0, colour.r, colour.g, colour.b, 0.45);
    cairo_pattern_add_color_stop_rgba(halo, 1, colour.r, colour.g, colour.b, 0);
    cairo_set_source(cr, halo);
    cairo_paint(cr);
    cairo_pattern_destroy(halo);
    if (toe) {
        cairo_move_to(cr, c, c - 5.5);
        cairo_line_to(cr, c + 5.5, c);
        cairo_line_to(cr, c, c + 5.5);
        cairo_line_to(cr, c - 5.5, c);
        cairo_close_path(cr);
    } else {
        cairo_arc(cr, c, c, 4.6, 0, 2 * kPi);
    }
    setSource(cr, colour);
    cairo_fill_preserve(cr);
    setSource(cr, kBodyDeep, 0.9);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    setSource(cr, kBodyDeep);
    cairo_arc(cr, c, c, 1.4, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_destroy(cr);
    return s;
}

// A path dot: a soft spot; the display sets its opacity from the sweep curve.
cairo_surface_t* pathDot(Rgb colour) {
    constexpr int kSize = 8;
    cairo_surface_t* s = newSurface(kSize, kSize);
    cairo_t* cr = cairo_create(s);
    const double c = centreOf(kSize);
    cairo_pattern_t* spot = cairo_pattern_create_radial(c, c, 0, c, c, c - 1);
    cairo_pattern_add_color_stop_rgba(spot, 0, colour.r, colour.g, colour.b, 1.0);
    cairo_pattern_add_color_stop_rgba(spot, 0.45, colour.r, colour.g, colour.b, 0.8);
    cairo_pattern_add_color_stop_rgba(spot, 1, colour.r, colour.g, colour.b, 0);
    cairo_set_source(cr, spot);
    cairo_paint(cr);
    cairo_pattern_destroy(spot);
    cairo_destroy(cr);
    return s;
}

// A live marker: a bright ring with a glow, open in the middle so the handle or
// path beneath stays visible.
cairo_surface_t* marker(Rgb colour) {
    constexpr int kSize = 18;
    cairo_surface_t* s = newSurface(kSize, kSize);
    cairo_t* cr = cairo_create(s);
    const double c = centreOf(kSize);
    cairo_pattern_t* glow = cairo_pattern_create_radial(c, c, 4, c, c, c - 1);
    cairo_pattern_add_color_stop_rgba(glow, 0, colour.r, colour.g, colour.b, 0.6);
    cairo_pattern_add_color_stop_rgba(glow, 1, colour.r, colour.g, colour.b, 0);
    cairo_set_source(cr, glow);
    cairo_arc(cr, c, c, c - 1, 0, 2 * kPi);
    cairo_arc_negative(cr, c, c, 4, 2 * kPi, 0);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    setSource(cr, kCream);
    cairo_set_line_width(cr, 1.6);
    cairo_arc(cr, c, c, 5.2, 0, 2 * kPi);
    cairo_stroke(cr);
    setSource(cr, colour);
    cairo_set_line_width(cr, 1.0);
    cairo_arc(cr, c, c, 6.6, 0, 2 * kPi);
    cairo_stroke(cr);
    cairo_destroy(cr);
    return s;
}

// Filter 1 is amber, filter 2 a cool cream-green so the two read apart.
constexpr Rgb kFilter1 = kAmber;

} // namespace

void addFilterImages(std::vector<Image>& images) {
    images.push_back({180, 24, sweepChart()});
    images.push_back({192, 24, vowelChart()});
    images.push_back({181, 32, handle(kFilter1, false)});
    images.push_back({182, 32, handle(kFilter1, true)});
    images.push_back({183, 32, handle(kFilter2, false)});
    images.push_back({185, 32, handle(kFilter2, true)});
    images.push_back({188, 32, pathDot(kFilter1)});
    images.push_back({189, 32, pathDot(kFilter2)});
    images.push_back({190, 32, marker(kFilter1)});
    images.push_back({191, 32, marker(kFilter2)});
}
