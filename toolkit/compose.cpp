// The software compositor: source pixels (premultiplied 32-bit, or 24-bit taken
// as opaque) onto a premultiplied 32-bit destination, channel by channel.
#include "toolkit/bitmap.h"

#include <algorithm>
#include <cstring>

namespace {

struct Span {
    const uint8_t* src;
    uint8_t* dst;
    int32_t count;
};

template <int Bpp>
inline uint32_t alphaOf(const uint8_t* s) {
    if constexpr (Bpp == 4) return s[3];
    return 255;
}

inline uint8_t sat(uint32_t v) {
    return uint8_t(v > 255 ? 255 : v);
}

// Straight copy for opaque sources: 32-bit rows are copied, 24-bit rows widened.
template <int Bpp>
void copyOpaque(Span sp) {
    if constexpr (Bpp == 4) {
        std::memcpy(sp.dst, sp.src, static_cast<size_t>(sp.count) * 4);
    } else {
        for (int32_t i = 0; i < sp.count; ++i, sp.src += 3, sp.dst += 4) {
            sp.dst[0] = sp.src[0];
            sp.dst[1] = sp.src[1];
            sp.dst[2] = sp.src[2];
            sp.dst[3] = 255;
        }
    }
}

template <int Bpp>
void composePlain(Span sp) {
    for (int32_t i = 0; i < sp.count; ++i, sp.src += Bpp, sp.dst += 4) {
        uint32_t a = alphaOf<Bpp>(sp.src);
        if (a == 255) {
            sp.dst[0] = sp.src[0];
            sp.dst[1] = sp.src[1];
            sp.dst[2] = sp.src[2];
            sp.dst[3] = 255;
        } else if (a != 0) {
            uint32_t inv = 255 - a;
            sp.dst[0] = sat(((sp.dst[0] * inv) >> 8) + sp.src[0]);
            sp.dst[1] = sat(((sp.dst[1] * inv) >> 8) + sp.src[1]);
            sp.dst[2] = sat(((sp.dst[2] * inv) >> 8) + sp.src[2]);
            sp.dst[3] = sat(((sp.dst[3] * inv) >> 8) + a);
        }
    }
}

// Half the un-premultiplied average brightness, lifted into the upper middle.
template <int Bpp>
inline uint32_t greyOf(const uint8_t* s, uint32_t a) {
    uint32_t sum = 0;
    for (int c = 0; c < 3; ++c)
        sum += a == 255 ? s[c] : std::min<uint32_t>(255, s[c] * 256u / a);
    return sum / 3 / 2 + 112;
}

template <int Bpp>
void composeGreyed(Span sp) {
    for (int32_t i = 0; i < sp.count; ++i, sp.src += Bpp, sp.dst += 4) {
        uint32_t a = alphaOf<Bpp>(sp.src);
        if (a == 0) continue;
        uint32_t grey = greyOf<Bpp>(sp.src, a);
        if (a == 255) {
            sp.dst[0] = sp.dst[1] = sp.dst[2] = uint8_t(grey);
            sp.dst[3] = 255;
        } else {
            uint32_t inv = 255 - a;
            uint32_t g = (grey * a) >> 8;
            for (int c = 0; c < 3; ++c)
                sp.dst[c] = sat(((sp.dst[c] * inv) >> 8) + g);
            sp.dst[3] = sat(((sp.dst[3] * inv) >> 8) + a);
        }
    }
}

struct OpacityMode {
    uint32_t opacity;
    bool tinted;
    uint32_t tint[3]; // blue, green, red
    bool greyed;
    bool alwaysOpaque;
};

template <int Bpp>
void composeWithOpacity(Span sp, const OpacityMode& m) {
    for (int32_t i = 0; i < sp.count; ++i, sp.src += Bpp, sp.dst += 4) {
        uint32_t a = alphaOf<Bpp>(sp.src);
        uint32_t t = (m.opacity * a) >> 8;
        if (t == 0) continue;
        uint32_t s[3];
        if (m.greyed) {
            uint32_t g = (greyOf<Bpp>(sp.src, a) * a) >> 8;
            s[0] = s[1] = s[2] = g;
        } else {
            s[0] = sp.src[0];
            s[1] = sp.src[1];
            s[2] = sp.src[2];
        }
        if (m.tinted) {
            for (int c = 0; c < 3; ++c)
                s[c] = (s[c] * m.tint[c]) >> 8;
        }
        if (a == 255 && m.alwaysOpaque) {
            for (int c = 0; c < 3; ++c)
                sp.dst[c] = uint8_t(s[c]);
            sp.dst[3] = 255;
            continue;
        }
        // The source is premultiplied by a; w rescales it to the effective alpha t.
        uint32_t w = t * 256 / a;
        uint32_t inv = 255 - t;
        for (int c = 0; c < 3; ++c)
            sp.dst[c] = sat((sp.dst[c] * inv + s[c] * w) >> 8);
        sp.dst[3] = sat((sp.dst[3] * inv + a * w) >> 8);
    }
}

template <int Bpp>
void composeRows(const CCBitmap& src, CCBitmap& dst, CCRect r, CCPoint sp, bool greyed, uint8_t opacity,
                 CCTint tint, bool opaqueCopy) {
    OpacityMode mode{opacity, tint.isSet(), {tint.blue, tint.green, tint.red}, greyed, src.isAlwaysOpaque()};
    bool plain = !greyed && opacity == 255 && !mode.tinted;
    for (int32_t y = r.top; y < r.bottom; ++y) {
        Span span{src.row(sp.y + (y - r.top)) + static_cast<size_t>(sp.x) * Bpp,
                  dst.row(y) + static_cast<size_t>(r.left) * 4, r.width()};
        if (opaqueCopy) {
            copyOpaque<Bpp>(span);
        } else if (plain) {
            composePlain<Bpp>(span);
        } else if (greyed && opacity == 255 && !mode.tinted) {
            composeGreyed<Bpp>(span);
        } else {
            composeWithOpacity<Bpp>(span, mode);
        }
    }
}

} // namespace

void CCBitmap::composeInto(CCBitmap& destination, CCRect destRect, CCPoint sourcePoint, bool greyed,
                           uint8_t opacity, CCTint tint) const {
    if (!valid || !destination.isValid() || !destination.getHasAlpha() || &destination == this) return;
    // Clip to the destination, then to what the source holds, moving the source
    // point by as much as the rectangle's top-left corner moved.
    CCRect r = destRect.intersected(destination.bounds());
    if (r.isEmpty()) return;
    CCPoint sp{sourcePoint.x + (r.left - destRect.left), sourcePoint.y + (r.top - destRect.top)};
    if (sp.x < 0) {
        r.left -= sp.x;
        sp.x = 0;
    }
    if (sp.y < 0) {
        r.top -= sp.y;
        sp.y = 0;
    }
    r.right = std::min(r.right, r.left + (width - sp.x));
    r.bottom = std::min(r.bottom, r.top + (height - sp.y));
    if (r.isEmpty()) return;

    bool opaqueCopy = !greyed && opacity == 255 && !tint.isSet() && (!hasAlpha || fullyOpaque);
    if (hasAlpha) {
        composeRows<4>(*this, destination, r, sp, greyed, opacity, tint, opaqueCopy);
    } else {
        composeRows<3>(*this, destination, r, sp, greyed, opacity, tint, opaqueCopy);
    }
}
