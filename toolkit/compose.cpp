// The software compositor: source pixels (premultiplied 32-bit, or 24-bit taken
// as opaque) onto a premultiplied 32-bit destination, channel by channel.
#include "toolkit/bitmap.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include <emmintrin.h>

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

// Two channels a word: the blue and red bytes, or the green and alpha bytes,
// each in its own 16-bit lane, so one multiplication serves two channels.
constexpr uint32_t kLanes = 0x00FF00FFu;

inline uint32_t loadPixel(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

inline void storePixel(uint8_t* p, uint32_t v) {
    std::memcpy(p, &v, 4);
}

// Each lane's value, at most 510, saturated to 255.
inline uint32_t saturateLanes(uint32_t lanes) {
    const uint32_t over = lanes & 0x01000100u;
    return (lanes | (over - (over >> 8))) & kLanes;
}

// dst = sat((dst × inv) >> 8 + src) channel by channel, as the plain loop does.
inline uint32_t blendOver(uint32_t dst, uint32_t src, uint32_t inv) {
    const uint32_t rb = (((dst & kLanes) * inv) >> 8 & kLanes) + (src & kLanes);
    const uint32_t ga = ((((dst >> 8) & kLanes) * inv) >> 8 & kLanes) + ((src >> 8) & kLanes);
    return saturateLanes(rb) | (saturateLanes(ga) << 8);
}

// Four pixels at once (SSE2, which every x86-64 processor has): the same
// arithmetic as blendOver, each channel in a 16-bit lane, the addition
// saturating; where the source is transparent the destination stays as it was.
inline void composePlainFour(const uint8_t* src, uint8_t* dst) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    const __m128i alpha = _mm_srli_epi32(s, 24);
    const __m128i zero = _mm_setzero_si128();
    const __m128i transparent = _mm_cmpeq_epi32(alpha, zero);
    if (_mm_movemask_epi8(transparent) == 0xFFFF) return;
    const __m128i opaque = _mm_cmpeq_epi32(alpha, _mm_set1_epi32(255));
    if (_mm_movemask_epi8(opaque) == 0xFFFF) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), s);
        return;
    }
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst));
    const __m128i inv = _mm_sub_epi32(_mm_set1_epi32(255), alpha);
    // Each pixel's inverse alpha in all four of its channel lanes.
    __m128i invLow = _mm_unpacklo_epi32(inv, inv);
    invLow = _mm_or_si128(invLow, _mm_slli_epi32(invLow, 16));
    __m128i invHigh = _mm_unpackhi_epi32(inv, inv);
    invHigh = _mm_or_si128(invHigh, _mm_slli_epi32(invHigh, 16));
    const __m128i low = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), invLow), 8);
    const __m128i high = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), invHigh), 8);
    const __m128i blended = _mm_adds_epu8(_mm_packus_epi16(low, high), s);
    const __m128i kept = _mm_or_si128(_mm_and_si128(transparent, d), _mm_andnot_si128(transparent, blended));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), kept);
}

template <int Bpp>
void composePlain(Span sp) {
    if constexpr (Bpp == 4) {
        // Pixels are read and written whole: most of a control's image is
        // either transparent or opaque, and the rest blends two channels a step.
        int32_t i = 0;
        for (; i + 4 <= sp.count; i += 4, sp.src += 16, sp.dst += 16)
            composePlainFour(sp.src, sp.dst);
        for (; i < sp.count; ++i, sp.src += 4, sp.dst += 4) {
            const uint32_t s = loadPixel(sp.src);
            const uint32_t a = s >> 24;
            if (a == 255)
                storePixel(sp.dst, s);
            else if (a != 0)
                storePixel(sp.dst, blendOver(loadPixel(sp.dst), s, 255 - a));
        }
    } else {
        for (int32_t i = 0; i < sp.count; ++i, sp.src += Bpp, sp.dst += 4) {
            sp.dst[0] = sp.src[0];
            sp.dst[1] = sp.src[1];
            sp.dst[2] = sp.src[2];
            sp.dst[3] = 255;
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

// For one opacity, each source alpha's effective alpha t and the weight w that
// rescales a source premultiplied by a to t: divided out once per opacity, not
// once per pixel (a page draws most of its controls at a few opacities).
struct OpacityWeights {
    uint32_t opacity = UINT32_MAX;
    uint16_t effective[256];
    uint16_t weight[256];
};

const OpacityWeights& weightsFor(uint32_t opacity) {
    // One table an opacity, made when first needed: a page alternates between
    // a few (a faded button, then a dimmed one).
    thread_local std::array<std::unique_ptr<OpacityWeights>, 256> tables;
    std::unique_ptr<OpacityWeights>& table = tables[opacity & 255];
    if (!table) {
        table = std::make_unique<OpacityWeights>();
        for (uint32_t a = 0; a < 256; ++a) {
            const uint32_t t = (opacity * a) >> 8;
            table->effective[a] = static_cast<uint16_t>(t);
            table->weight[a] = static_cast<uint16_t>(a == 0 ? 0 : t * 256 / a);
        }
        table->opacity = opacity;
    }
    return *table;
}

// The greyed look at an opacity (colour at an opacity has its own path).
template <int Bpp, bool Tinted>
void composeGreyedWithOpacityAs(Span sp, const OpacityMode& m) {
    const OpacityWeights& weights = weightsFor(m.opacity);
    for (int32_t i = 0; i < sp.count; ++i, sp.src += Bpp, sp.dst += 4) {
        uint32_t a = alphaOf<Bpp>(sp.src);
        uint32_t t = weights.effective[a];
        if (t == 0) continue;
        uint32_t s[3];
        const uint32_t g = (greyOf<Bpp>(sp.src, a) * a) >> 8;
        s[0] = s[1] = s[2] = g;
        if constexpr (Tinted) {
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
        const uint32_t w = weights.weight[a];
        uint32_t inv = 255 - t;
        for (int c = 0; c < 3; ++c)
            sp.dst[c] = sat((sp.dst[c] * inv + s[c] * w) >> 8);
        sp.dst[3] = sat((sp.dst[3] * inv + a * w) >> 8);
    }
}

// The same arithmetic for a source in colour (tinted or not), one pixel at a
// time in SSE2 lanes: the channels widened to 16 bits, the tint a
// multiplication (256 leaves a channel as it is), the destination's and the
// source's terms multiplied and added in one 32-bit step each.
template <int Bpp>
void composeColourWithOpacity(Span sp, const OpacityMode& m) {
    const OpacityWeights& weights = weightsFor(m.opacity);
    const __m128i zero = _mm_setzero_si128();
    const __m128i tint =
        m.tinted ? _mm_setr_epi16(int16_t(m.tint[0]), int16_t(m.tint[1]), int16_t(m.tint[2]), 256, 0, 0, 0, 0)
                 : _mm_setr_epi16(256, 256, 256, 256, 0, 0, 0, 0);
    for (int32_t i = 0; i < sp.count; ++i, sp.src += Bpp, sp.dst += 4) {
        const uint32_t a = alphaOf<Bpp>(sp.src);
        const uint32_t t = weights.effective[a];
        if (t == 0) continue;
        const uint32_t pixel =
            uint32_t(sp.src[0]) | uint32_t(sp.src[1]) << 8 | uint32_t(sp.src[2]) << 16 | a << 24;
        // The source's channels, tinted; its alpha stays.
        const __m128i source = _mm_srli_epi16(
            _mm_mullo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int32_t(pixel)), zero), tint), 8);
        if (a == 255 && m.alwaysOpaque) {
            const uint32_t out = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(source, zero)));
            storePixel(sp.dst, out | 0xFF000000u);
            continue;
        }
        const __m128i destination = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int32_t(loadPixel(sp.dst))), zero);
        const int16_t inv = int16_t(255 - t);
        const int16_t w = int16_t(weights.weight[a]);
        const __m128i sums = _mm_madd_epi16(_mm_unpacklo_epi16(destination, source),
                                            _mm_setr_epi16(inv, w, inv, w, inv, w, inv, w));
        const __m128i shifted = _mm_srli_epi32(sums, 8);
        const __m128i packed = _mm_packus_epi16(_mm_packs_epi32(shifted, zero), zero);
        storePixel(sp.dst, uint32_t(_mm_cvtsi128_si32(packed)));
    }
}

template <int Bpp>
void composeWithOpacity(Span sp, const OpacityMode& m) {
    if (!m.greyed) {
        composeColourWithOpacity<Bpp>(sp, m);
        return;
    }
    if (m.tinted)
        composeGreyedWithOpacityAs<Bpp, true>(sp, m);
    else
        composeGreyedWithOpacityAs<Bpp, false>(sp, m);
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
