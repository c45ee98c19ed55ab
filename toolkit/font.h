#pragma once

#include "toolkit/geometry.h"
#include "toolkit/palette.h"

#include <compare>
#include <cstdint>
#include <memory>
#include <string_view>
#include <tuple>

class CCDrawContext;
class CCImageStrip;

// Text alignment inside a rectangle.
enum CCTextAlign : int32_t {
    kAlignLeft = 0,
    kAlignRight = 1,
    kAlignCentre = 2,
    kAlignLeftShortened = 3, // left, dropping characters from the end that do not fit
};

// The toolkit's default text colour: the cream of the program's art.
constexpr CCColour kDefaultTextColour = palette::kCream;

// The key of the font cache. Style bytes: bold, italic, underline.
struct CCFontDescriptor {
    int32_t typeface = 0;
    uint8_t size = 10;
    uint8_t style[3] = {0, 0, 0};
    CCColour colour = kDefaultTextColour;
    uint16_t scale = 100;

    auto key() const {
        return std::tuple(typeface, size, style[0], style[1], style[2], colour.red, colour.green, colour.blue,
                          colour.alpha, scale);
    }
    friend bool operator<(const CCFontDescriptor& a, const CCFontDescriptor& b) { return a.key() < b.key(); }
    friend bool operator==(const CCFontDescriptor& a, const CCFontDescriptor& b) {
        return a.key() == b.key();
    }
};

// What every font offers the controls. Text is 8-bit (Windows-1252).
class CCFontInterface {
public:
    virtual ~CCFontInterface() = default;
    virtual void drawText(CCDrawContext& ctx, std::string_view text, CCRect rect, int32_t alignment) = 0;
    virtual void drawTextAt(CCDrawContext& ctx, std::string_view text, CCPoint point, int32_t alignment) = 0;
    virtual int32_t measureText(std::string_view text) = 0;
    virtual int32_t textWidth(std::string_view text) = 0;
    virtual int32_t pointSize() = 0;
};

// A FreeType face from the font data built into the program, at one size and
// colour, with its rendered glyphs cached. Shared through getFont; every FreeType
// call runs under the toolkit's font lock.
class CCFont : public CCFontInterface {
public:
    ~CCFont() override;
    // Text centred vertically on the face's line box, placed by alignment.
    void drawText(CCDrawContext& ctx, std::string_view text, CCRect rect, int32_t alignment) override;
    // Not used with FreeType fonts: does nothing.
    void drawTextAt(CCDrawContext&, std::string_view, CCPoint, int32_t) override {}
    int32_t measureText(std::string_view text) override { return textWidth(text); }
    // Pixels covered: ((box right + 63) >> 6) - ((box left - 63) >> 6).
    int32_t textWidth(std::string_view text) override;
    int32_t pointSize() override { return descriptor.size; }

    const CCFontDescriptor& getDescriptor() const { return descriptor; }
    // Height of the face's line box (ascender to descender) in pixels.
    int32_t lineHeight();

    struct Impl;

private:
    friend CCFont* getFont(const CCFontDescriptor& descriptor);
    CCFont(const CCFontDescriptor& d, std::unique_ptr<Impl> impl);

    CCFontDescriptor descriptor;
    std::unique_ptr<Impl> impl;
};

// The shared font for the descriptor, made on first request and kept until
// toolkitStop; none when the toolkit is not running or the font data is missing.
CCFont* getFont(const CCFontDescriptor& descriptor);
inline CCFont* getFont() {
    return getFont(CCFontDescriptor{});
}

// Characters drawn from an image strip, one frame a character starting at
// `firstChar`. Holds one registry reference to the strip.
class CCBitmapFont : public CCFontInterface {
public:
    // Takes over one registry reference to `strip` (none gives a font that draws nothing).
    CCBitmapFont(CCImageStrip* strip, int32_t firstChar = 32);
    ~CCBitmapFont() override;
    CCBitmapFont(const CCBitmapFont&) = delete;
    CCBitmapFont& operator=(const CCBitmapFont&) = delete;

    // Centred vertically; right alignment keeps 2 pixels from the right edge.
    void drawText(CCDrawContext& ctx, std::string_view text, CCRect rect, int32_t alignment) override;
    // The text's top at point.y; point.x is its left, right end or centre by alignment.
    void drawTextAt(CCDrawContext& ctx, std::string_view text, CCPoint point, int32_t alignment) override;
    int32_t measureText(std::string_view text) override { return textWidth(text); }
    int32_t textWidth(std::string_view text) override;
    int32_t pointSize() override;

private:
    void drawRun(CCDrawContext& ctx, std::string_view text, CCPoint topLeft);

    CCImageStrip* strip;
    int32_t firstChar;
};

// The toolkit's shared bitmap font, made on first use from the strip that the
// application's bitmap-font hook names; none without a hook.
CCBitmapFont* sharedBitmapFont();
