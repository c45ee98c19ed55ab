#pragma once

#include "toolkit/geometry.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

// The 40-byte information header of a packed device-independent bitmap, as it is
// stored (little-endian). A positive height means the rows are stored bottom-up.
struct BitmapInfoHeader {
    uint32_t size = 40;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t planes = 1;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0;
    uint32_t clrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

// Transforms freshly loaded pixels in place (resources may be stored enciphered).
using PixelDecodeHook = void (*)(uint8_t* pixels, size_t size, const BitmapInfoHeader& header);

// A 24- or 32-bit image. 32-bit pixels are kept premultiplied by their alpha, in
// blue, green, red, alpha order, so the compositor never divides on the hot path.
// Rows are addressed top-down through row() whatever order they are stored in.
class CCBitmap {
public:
    CCBitmap() = default;
    CCBitmap(const CCBitmap&) = delete;
    CCBitmap& operator=(const CCBitmap&) = delete;
    virtual ~CCBitmap() = default;

    // Loads a packed bitmap: the 40-byte header followed by the rows. Only
    // uncompressed 24- and 32-bit images are taken; anything else, or data shorter
    // than the header says, leaves the bitmap invalid and returns false.
    bool loadFromPackedDib(std::span<const uint8_t> data, bool decode);
    // A 32-bit transparent surface (all zero), rows top-down, ready for vector drawing.
    bool createSection(int32_t width, int32_t height);
    // A 32-bit surface with every byte 255 (opaque white).
    bool createBlank(int32_t width, int32_t height);
    // Copies all pixels from a bitmap of the same size and depth; false otherwise.
    bool copyPixelsFrom(const CCBitmap& other);
    // Every pixel whose red, green and blue equal `from` takes the colour `to`.
    void replaceColour(CCColour from, CCColour to);
    // The pixel at (x, y) counted from the top-left, clamped to the image; alpha
    // is 255 for 24-bit images and all zero for an invalid bitmap.
    CCPixel pixelAt(int32_t x, int32_t y) const;
    // Makes a 32-bit image whose alpha is the grey value (top-down rows, one byte a
    // pixel) and whose colour is `colour` scaled by it; false when sizes differ.
    bool makeAlphaFromGrey(std::span<const uint8_t> greyData, CCColour colour);
    // Composes the part of this bitmap starting at sourcePoint into destRect of a
    // 32-bit destination: plain, greyed, or with opacity and tint.
    void composeInto(CCBitmap& destination, CCRect destRect, CCPoint sourcePoint, bool greyed,
                     uint8_t opacity, CCTint tint) const;

    bool isValid() const { return valid; }
    int32_t getWidth() const { return width; }
    int32_t getHeight() const { return height; }
    bool getHasAlpha() const { return hasAlpha; }
    int32_t getStride() const { return stride; }
    int32_t bytesPerPixel() const { return hasAlpha ? 4 : 3; }
    bool isTopDown() const { return topDown; }
    const BitmapInfoHeader& infoHeader() const { return header; }
    // True when every pixel of a loaded image is opaque, so it may be copied without
    // blending. Surfaces that are drawn on never claim it.
    bool isFullyOpaque() const { return fullyOpaque; }
    // Always-opaque bitmaps copy their opaque pixels even under context opacity.
    bool isAlwaysOpaque() const { return alwaysOpaque; }
    void setAlwaysOpaque(bool on) { alwaysOpaque = on; }
    bool getUseOwnAlpha() const { return useOwnAlpha; }
    void setUseOwnAlpha(bool on) { useOwnAlpha = on; }

    uint8_t* row(int32_t y) { return pixels.get() + static_cast<size_t>(storedRow(y)) * stride; }
    const uint8_t* row(int32_t y) const { return pixels.get() + static_cast<size_t>(storedRow(y)) * stride; }
    uint8_t* data() { return pixels.get(); }
    const uint8_t* data() const { return pixels.get(); }
    size_t dataSize() const { return static_cast<size_t>(stride) * static_cast<size_t>(height); }
    CCRect bounds() const { return {0, 0, width, height}; }

private:
    void clear();
    bool allocate(int32_t w, int32_t h, uint16_t bits, bool rowsTopDown);
    int32_t storedRow(int32_t y) const { return topDown ? y : height - 1 - y; }
    void updateOpaqueFlag();

    std::unique_ptr<uint8_t[]> pixels;
    int32_t width = 0;
    int32_t height = 0;
    bool hasAlpha = false;
    bool alwaysOpaque = false;
    bool useOwnAlpha = false;
    bool topDown = false;
    bool fullyOpaque = false;
    BitmapInfoHeader header;
    int32_t stride = 0;
    bool valid = false;
};

// Frames of equal width side by side, left to right.
class CCImageStrip : public CCBitmap {
public:
    // Splits the loaded image by frame width (count = width / frameWidth) or by
    // frame count (frameWidth = width / count). A zero divisor gives one frame.
    void setFrameWidth(int32_t frameWidth);
    void setFrameCount(int32_t frameCount);

    uint16_t getFrameWidth() const { return frameWidth; }
    uint16_t getFrameCount() const { return frameCount; }
    // The source rectangle of frame `index`; indexes past the end give the last frame.
    CCRect frameRect(int32_t index) const;

private:
    uint16_t frameWidth = 0;
    uint16_t frameCount = 0;
};
