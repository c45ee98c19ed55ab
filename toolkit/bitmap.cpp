#include "toolkit/bitmap.h"

#include "platform/trace.h"
#include "toolkit/toolkit.h"

#include <cstring>
#include <new>

namespace {

// Images larger than this are refused rather than trusted: the sizes come from
// resource data and a corrupt header must not ask for gigabytes.
constexpr int32_t kMaxSide = 16384;

uint32_t readU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t readU16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

int32_t strideFor(int32_t width, int bits) {
    return ((width * (bits / 8)) + 3) & ~3;
}

} // namespace

void CCBitmap::clear() {
    pixels.reset();
    width = height = stride = 0;
    hasAlpha = topDown = fullyOpaque = valid = false;
    header = BitmapInfoHeader{};
}

bool CCBitmap::allocate(int32_t w, int32_t h, uint16_t bits, bool rowsTopDown) {
    clear();
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide || (bits != 24 && bits != 32)) return false;
    int32_t s = strideFor(w, bits);
    pixels.reset(new (std::nothrow) uint8_t[static_cast<size_t>(s) * static_cast<size_t>(h)]);
    if (!pixels) return false;
    width = w;
    height = h;
    stride = s;
    hasAlpha = bits == 32;
    topDown = rowsTopDown;
    header.width = w;
    header.height = rowsTopDown ? -h : h;
    header.bitCount = bits;
    header.sizeImage = static_cast<uint32_t>(s * h);
    return true;
}

bool CCBitmap::loadFromPackedDib(std::span<const uint8_t> data, bool decode) {
    clear();
    if (data.size() < sizeof(BitmapInfoHeader)) return false;
    const uint8_t* p = data.data();
    uint32_t headerSize = readU32(p);
    if (headerSize < 16 || headerSize > 40) {
        tovanTrace("bitmap: header size %u not supported\n", headerSize);
        return false;
    }
    BitmapInfoHeader h;
    h.size = headerSize;
    h.width = static_cast<int32_t>(readU32(p + 4));
    h.height = static_cast<int32_t>(readU32(p + 8));
    h.planes = readU16(p + 12);
    h.bitCount = readU16(p + 14);
    if (headerSize >= 20) h.compression = readU32(p + 16);
    if (headerSize >= 24) h.sizeImage = readU32(p + 20);
    if (h.compression != 0 || (h.bitCount != 24 && h.bitCount != 32) || h.height == INT32_MIN) {
        tovanTrace("bitmap: %u-bit compression %u not supported\n", h.bitCount, h.compression);
        return false;
    }
    bool rowsTopDown = h.height < 0;
    int32_t rows = rowsTopDown ? -h.height : h.height;
    if (!allocate(h.width, rows, h.bitCount, rowsTopDown)) return false;
    if (data.size() - sizeof(BitmapInfoHeader) < dataSize()) {
        tovanTrace("bitmap: %zu bytes of pixels, %zu needed\n", data.size() - sizeof(BitmapInfoHeader),
                   dataSize());
        clear();
        return false;
    }
    header = h;
    std::memcpy(pixels.get(), p + sizeof(BitmapInfoHeader), dataSize());
    valid = true;

    if (decode) {
        if (PixelDecodeHook hook = pixelDecodeHook()) hook(pixels.get(), dataSize(), header);
    }
    if (hasAlpha) {
        // Premultiplied once here so that every later composition is a multiply-add.
        for (int32_t y = 0; y < height; ++y) {
            uint8_t* px = row(y);
            for (int32_t x = 0; x < width; ++x, px += 4) {
                uint32_t a = px[3];
                if (a == 255) continue;
                px[0] = uint8_t((px[0] * a) >> 8);
                px[1] = uint8_t((px[1] * a) >> 8);
                px[2] = uint8_t((px[2] * a) >> 8);
            }
        }
    }
    updateOpaqueFlag();
    return true;
}

void CCBitmap::updateOpaqueFlag() {
    fullyOpaque = valid;
    if (!valid || !hasAlpha) return;
    for (int32_t y = 0; y < height && fullyOpaque; ++y) {
        const uint8_t* px = row(y);
        for (int32_t x = 0; x < width; ++x) {
            if (px[x * 4 + 3] != 255) {
                fullyOpaque = false;
                break;
            }
        }
    }
}

bool CCBitmap::createSection(int32_t w, int32_t h) {
    if (!allocate(w, h, 32, true)) return false;
    std::memset(pixels.get(), 0, dataSize());
    valid = true;
    return true;
}

bool CCBitmap::createBlank(int32_t w, int32_t h) {
    if (!allocate(w, h, 32, true)) return false;
    std::memset(pixels.get(), 255, dataSize());
    valid = true;
    return true;
}

bool CCBitmap::copyPixelsFrom(const CCBitmap& other) {
    if (!valid || !other.valid || other.width != width || other.height != height ||
        other.hasAlpha != hasAlpha) {
        return false;
    }
    size_t rowBytes = static_cast<size_t>(width) * bytesPerPixel();
    for (int32_t y = 0; y < height; ++y)
        std::memcpy(row(y), other.row(y), rowBytes);
    fullyOpaque = other.fullyOpaque;
    return true;
}

void CCBitmap::replaceColour(CCColour from, CCColour to) {
    if (!valid) return;
    int32_t bpp = bytesPerPixel();
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* px = row(y);
        for (int32_t x = 0; x < width; ++x, px += bpp) {
            if (px[0] == from.blue && px[1] == from.green && px[2] == from.red) {
                px[0] = to.blue;
                px[1] = to.green;
                px[2] = to.red;
            }
        }
    }
}

CCPixel CCBitmap::pixelAt(int32_t x, int32_t y) const {
    if (!valid) return {};
    x = std::clamp(x, 0, width - 1);
    y = std::clamp(y, 0, height - 1);
    const uint8_t* px = row(y) + static_cast<size_t>(x) * bytesPerPixel();
    return {px[0], px[1], px[2], hasAlpha ? px[3] : uint8_t(255)};
}

bool CCBitmap::makeAlphaFromGrey(std::span<const uint8_t> greyData, CCColour colour) {
    if (!valid || !hasAlpha || greyData.size() < static_cast<size_t>(width) * height) return false;
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* px = row(y);
        const uint8_t* grey = greyData.data() + static_cast<size_t>(y) * width;
        for (int32_t x = 0; x < width; ++x, px += 4) {
            uint32_t g = grey[x];
            px[0] = uint8_t(colour.blue * g / 256);
            px[1] = uint8_t(colour.green * g / 256);
            px[2] = uint8_t(colour.red * g / 256);
            px[3] = uint8_t(g);
        }
    }
    updateOpaqueFlag();
    return true;
}

void CCImageStrip::setFrameWidth(int32_t w) {
    int32_t total = getWidth();
    if (w <= 0 || w > total) w = total;
    frameWidth = uint16_t(w);
    frameCount = uint16_t(w > 0 ? total / w : 0);
}

void CCImageStrip::setFrameCount(int32_t count) {
    int32_t total = getWidth();
    if (count <= 0 || count > total) count = 1;
    frameCount = uint16_t(count);
    frameWidth = uint16_t(total / count);
}

CCRect CCImageStrip::frameRect(int32_t index) const {
    if (frameCount == 0) return {};
    index = std::clamp(index, 0, frameCount - 1);
    return {index * frameWidth, 0, (index + 1) * frameWidth, getHeight()};
}
