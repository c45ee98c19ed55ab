#include "toolkit/font.h"

#include "platform/trace.h"
#include "toolkit/bitmap_registry.h"
#include "toolkit/draw_context.h"
#include "toolkit/toolkit.h"
#include "toolkit/toolkit_internal.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

// The resource numbers of the embedded faces: regular and bold of each typeface.
constexpr int32_t kFontResourceBase = 1;
// Places whose last text a font remembers (a page has some hundred and fifty).
constexpr size_t kMaxTextMemos = 512;

// Windows-1252 0x80-0x9F to Unicode; the rest of the code page is Latin-1.
constexpr uint16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

uint32_t toUnicode(char c) {
    auto b = static_cast<uint8_t>(c);
    if (b >= 0x80 && b < 0xA0) return kCp1252High[b - 0x80];
    return b;
}

struct FontCache {
    FT_Library library = nullptr;
    std::map<CCFontDescriptor, std::unique_ptr<CCFont>> fonts;
    std::unique_ptr<CCBitmapFont> sharedBitmap;
    bool sharedBitmapTried = false;
};

// The font lock: guards the cache and every FreeType call.
std::recursive_mutex fontLock;
std::unique_ptr<FontCache> cache;

} // namespace

struct CCFont::Impl {
    struct Glyph {
        std::vector<uint8_t> coverage; // width x rows, one byte a pixel
        int32_t width = 0;
        int32_t rows = 0;
        int32_t left = 0;    // pixels from the pen to the bitmap's left
        int32_t top = 0;     // pixels from the baseline up to the bitmap's top
        int32_t advance = 0; // 26.6
    };
    // Ink extent in 26.6 relative to the pen start on the baseline (y up).
    struct Box {
        int32_t left = 0;
        int32_t right = 0;
        int32_t top = 0;
        int32_t bottom = 0;
    };

    FT_Face face = nullptr;
    std::unordered_map<uint32_t, Glyph> glyphs;
    // What each place's last text drew, by its rectangle and alignment: a whole
    // page composed again finds most texts where they were, over the same pixels.
    std::map<std::array<int32_t, 5>, CCDrawMemo> memos;

    const Glyph& glyph(uint32_t code) {
        auto it = glyphs.find(code);
        if (it != glyphs.end()) return it->second;
        Glyph g;
        FT_UInt index = FT_Get_Char_Index(face, code);
        if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) == 0 &&
            FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) == 0) {
            const FT_Bitmap& bm = face->glyph->bitmap;
            g.width = int32_t(bm.width);
            g.rows = int32_t(bm.rows);
            g.left = face->glyph->bitmap_left;
            g.top = face->glyph->bitmap_top;
            g.advance = int32_t(face->glyph->advance.x);
            if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
                g.coverage.resize(static_cast<size_t>(g.width) * g.rows);
                for (int32_t y = 0; y < g.rows; ++y) {
                    const uint8_t* src = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
                    std::copy(src, src + g.width, g.coverage.begin() + static_cast<ptrdiff_t>(y) * g.width);
                }
            } else {
                g.width = g.rows = 0;
            }
        }
        return glyphs.emplace(code, std::move(g)).first->second;
    }

    Box measure(std::string_view text) {
        Box box;
        bool any = false;
        int32_t pen = 0;
        for (char c : text) {
            const Glyph& g = glyph(toUnicode(c));
            if (g.width > 0 && g.rows > 0) {
                int32_t l = pen + g.left * 64, r = l + g.width * 64;
                int32_t t = g.top * 64, b = (g.top - g.rows) * 64;
                if (!any) box = {l, r, t, b};
                box = {std::min(box.left, l), std::max(box.right, r), std::max(box.top, t),
                       std::min(box.bottom, b)};
                any = true;
            }
            pen += g.advance;
        }
        if (!any) box.left = box.right = pen;
        return box;
    }
};

CCFont::CCFont(const CCFontDescriptor& d, std::unique_ptr<Impl> i) : descriptor(d), impl(std::move(i)) {}

CCFont::~CCFont() {
    std::lock_guard lock(fontLock);
    if (impl && impl->face) FT_Done_Face(impl->face);
}

int32_t CCFont::textWidth(std::string_view text) {
    std::lock_guard lock(fontLock);
    if (text.empty()) return 0;
    Impl::Box box = impl->measure(text);
    return ((box.right + 63) >> 6) - ((box.left - 63) >> 6);
}

int32_t CCFont::lineHeight() {
    std::lock_guard lock(fontLock);
    const FT_Size_Metrics& m = impl->face->size->metrics;
    return int32_t((m.ascender - m.descender + 63) >> 6);
}

void CCFont::drawText(CCDrawContext& ctx, std::string_view text, CCRect rect, int32_t alignment) {
    std::lock_guard lock(fontLock);
    if (text.empty() || rect.isEmpty()) return;
    // What the drawing depends on besides the pixels under it (which the memo
    // compares): the text, where it goes, the colour and the opacity.
    const CCColour& colour = descriptor.colour;
    std::vector<int32_t> key{rect.left,
                             rect.top,
                             rect.right,
                             rect.bottom,
                             alignment,
                             ctx.opacity(),
                             colour.red << 24 | colour.green << 16 | colour.blue << 8 | colour.alpha};
    key.insert(key.end(), text.begin(), text.end());
    if (impl->memos.size() > kMaxTextMemos) impl->memos.clear();
    CCDrawMemo& memo = impl->memos[{rect.left, rect.top, rect.right, rect.bottom, alignment}];

    struct Layout {
        std::string_view text;
        CCPoint origin;
        CCRect underline;
        CCRect ink; // where the glyphs and the underline put ink, inside the rectangle
    };
    auto layOut = [&]() -> Layout {
        Layout l{text, {}, {}, {}};
        const int32_t w64 = rect.width() * 64;
        Impl::Box box = impl->measure(l.text);
        if (alignment == kAlignLeftShortened) {
            while (!l.text.empty() && box.right - std::min(box.left, 0) > w64) {
                l.text.remove_suffix(1);
                box = impl->measure(l.text);
            }
            if (l.text.empty()) return l;
        }
        // The pen start in 26.6 from the rectangle's left, chosen so that the ink box
        // lands inside: flush left, flush right (its last pixel in the last column) or centred.
        int32_t pen;
        switch (alignment) {
        case kAlignRight:
            pen = w64 - box.right - 1;
            break;
        case kAlignCentre:
            pen = (w64 - box.left - box.right) / 2;
            break;
        default:
            pen = std::max(0, -box.left);
            break;
        }
        // The baseline centres the face's line box, so texts of one font share a baseline.
        const FT_Size_Metrics& m = impl->face->size->metrics;
        int32_t baseline = int32_t((rect.height() * 64 + m.ascender + m.descender) / 2);
        l.origin = {rect.left + (pen >> 6), rect.top + (baseline >> 6)};
        l.underline = {l.origin.x + (box.left >> 6), l.origin.y + 1, l.origin.x + ((box.right + 63) >> 6),
                       l.origin.y + 2};
        auto include = [&](CCRect part) {
            if (part.isEmpty()) return;
            l.ink = l.ink.isEmpty()
                        ? part
                        : CCRect{std::min(l.ink.left, part.left), std::min(l.ink.top, part.top),
                                 std::max(l.ink.right, part.right), std::max(l.ink.bottom, part.bottom)};
        };
        int32_t x = 0;
        for (char c : l.text) {
            const Impl::Glyph& g = impl->glyph(toUnicode(c));
            if (!g.coverage.empty())
                include(
                    CCRect::fromSize({l.origin.x + (x >> 6) + g.left, l.origin.y - g.top}, g.width, g.rows));
            x += g.advance;
        }
        if (descriptor.style[2]) include(l.underline);
        l.ink = l.ink.intersected(rect);
        return l;
    };
    auto paint = [&](const Layout& l) {
        CCDrawStateSaver saver(ctx);
        ctx.clip(rect);
        int32_t pen = 0;
        for (char c : l.text) {
            const Impl::Glyph& g = impl->glyph(toUnicode(c));
            if (!g.coverage.empty()) {
                ctx.drawCoverage(g.coverage.data(), g.width, g.width, g.rows,
                                 {l.origin.x + (pen >> 6) + g.left, l.origin.y - g.top}, descriptor.colour);
            }
            pen += g.advance;
        }
        if (descriptor.style[2]) ctx.fillRect(l.underline, descriptor.colour);
    };
    // The same text in the same place: where it puts ink is known, and only
    // the pixels under it are still to be compared.
    if (memo.holdsKey(key)) {
        memo.draw(ctx, memo.area(), std::move(key), [&] { paint(layOut()); });
        return;
    }
    const Layout l = layOut();
    if (l.ink.isEmpty()) return;
    memo.draw(ctx, l.ink, std::move(key), [&] { paint(l); });
}

CCFont* getFont(const CCFontDescriptor& d) {
    std::lock_guard lock(fontLock);
    if (!cache) {
        tovanTrace("getFont before toolkitStart\n");
        return nullptr;
    }
    if (auto it = cache->fonts.find(d); it != cache->fonts.end()) return it->second.get();

    int32_t id = kFontResourceBase + d.typeface * 2 + (d.style[0] ? 1 : 0);
    std::span<const uint8_t> data = findResource(ResourceType::Font, id);
    if (data.empty()) data = findResource(ResourceType::Font, kFontResourceBase);
    if (data.empty()) {
        tovanTrace("getFont: no font data for typeface %d\n", d.typeface);
        return nullptr;
    }
    auto impl = std::make_unique<CCFont::Impl>();
    if (FT_New_Memory_Face(cache->library, data.data(), FT_Long(data.size()), 0, &impl->face) != 0) {
        tovanTrace("getFont: font data %d could not be opened\n", id);
        return nullptr;
    }
    // Sizes are points on a 96 dpi screen, scaled by the descriptor's percentage.
    FT_F26Dot6 size = FT_F26Dot6(d.size) * 64 * std::max<int>(d.scale, 1) / 100;
    FT_Set_Char_Size(impl->face, 0, std::max<FT_F26Dot6>(size, 64), 96, 96);
    if (d.style[1]) {
        FT_Matrix shear{0x10000, 0x3000, 0, 0x10000};
        FT_Set_Transform(impl->face, &shear, nullptr);
    }
    std::unique_ptr<CCFont> font(new CCFont(d, std::move(impl)));
    CCFont* result = font.get();
    cache->fonts.emplace(d, std::move(font));
    return result;
}

CCBitmapFont* sharedBitmapFont() {
    std::lock_guard lock(fontLock);
    if (!cache) return nullptr;
    if (!cache->sharedBitmapTried) {
        cache->sharedBitmapTried = true;
        BitmapFontLayout layout;
        if (BitmapFontHook hook = bitmapFontHook(); hook && hook(layout)) {
            if (CCImageStrip* strip = acquireStrip(layout.bitmapId, layout.frameWidth)) {
                cache->sharedBitmap = std::make_unique<CCBitmapFont>(strip, layout.firstChar);
            }
        }
    }
    return cache->sharedBitmap.get();
}

void fontCacheCreate() {
    std::lock_guard lock(fontLock);
    cache = std::make_unique<FontCache>();
    if (FT_Init_FreeType(&cache->library) != 0) {
        tovanTrace("FreeType could not be started\n");
        cache->library = nullptr;
    }
}

void fontCacheDestroy() {
    std::lock_guard lock(fontLock);
    if (!cache) return;
    cache->fonts.clear();
    cache->sharedBitmap.reset();
    if (cache->library) FT_Done_FreeType(cache->library);
    cache.reset();
}
