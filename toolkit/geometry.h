#pragma once

#include <algorithm>
#include <cstdint>

// Window-pixel geometry shared by the whole toolkit. Rectangles are (left, top,
// right, bottom) with right and bottom exclusive.
struct CCPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const CCPoint&, const CCPoint&) = default;
};

struct CCSize {
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const CCSize&, const CCSize&) = default;
};

struct CCRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(CCPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    CCRect intersected(const CCRect& o) const {
        CCRect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
                 std::min(bottom, o.bottom)};
        if (r.isEmpty()) return {};
        return r;
    }
    CCRect offset(int32_t dx, int32_t dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    static CCRect fromSize(CCPoint p, int32_t w, int32_t h) { return {p.x, p.y, p.x + w, p.y + h}; }
    friend bool operator==(const CCRect&, const CCRect&) = default;
};

// A colour as the user sees it (not premultiplied); alpha 255 is opaque.
struct CCColour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 255;
    friend bool operator==(const CCColour&, const CCColour&) = default;
};

// One stored pixel in surface byte order: blue, green, red, alpha.
struct CCPixel {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t alpha = 0;
    friend bool operator==(const CCPixel&, const CCPixel&) = default;
};

// A tint multiplies each colour channel by (tint channel >> 8); all zero means none.
struct CCTint {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t extra = 0;
    bool isSet() const { return red || green || blue || extra; }
    friend bool operator==(const CCTint&, const CCTint&) = default;
};
