#pragma once

#include <cairo.h>

#include <cstdint>
#include <vector>

// The house palette: a dark warm body, cream lines and text, olive frames and
// amber accents.
struct Rgb {
    double r, g, b;
};
constexpr Rgb rgb8(int r, int g, int b) {
    return {r / 255.0, g / 255.0, b / 255.0};
}
inline constexpr Rgb kBody = rgb8(34, 27, 22);
inline constexpr Rgb kBodyLight = rgb8(58, 47, 38);
inline constexpr Rgb kBodyDeep = rgb8(20, 15, 12);
inline constexpr Rgb kCream = rgb8(255, 250, 208);
inline constexpr Rgb kOlive = rgb8(118, 113, 91);
inline constexpr Rgb kAmber = rgb8(255, 170, 40);
inline constexpr Rgb kAmberDim = rgb8(96, 62, 22);
// A meter's level past its warning mark, and near it.
inline constexpr Rgb kClipRed = rgb8(255, 80, 40);
inline constexpr Rgb kAmberHot = rgb8(255, 210, 90);
// The red lamp.
inline constexpr Rgb kLampRed = rgb8(255, 96, 40);
// Filter 2's handles, path dots and markers (filter 1's are amber).
inline constexpr Rgb kFilter2 = rgb8(200, 232, 160);
// The top face of the icon's treadle.
inline constexpr Rgb kTreadleTop = rgb8(78, 64, 52);
// Outside the window's shape: the page's key colour, cut away.
inline constexpr Rgb kOutsideShape = rgb8(255, 0, 255);

inline void setSource(cairo_t* cr, Rgb c, double alpha = 1.0) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);

// One generated image: its number, its depth and what was drawn.
struct Image {
    int32_t id;
    int bits;
    cairo_surface_t* surface;
};

void addControlImages(std::vector<Image>& images);
void addPageImages(std::vector<Image>& images);
void addFilterImages(std::vector<Image>& images);
// The rest of the control table (ids 600-699).
void addControlTableImages(std::vector<Image>& images);
