#pragma once

#include "platform/resources.h"
#include "toolkit/bitmap.h"
#include "toolkit/toolkit.h"

#include <cstdint>
#include <cstring>
#include <vector>

// A packed bitmap as a resource would hold it: rows bottom-up, padded to 4 bytes.
// `pixel(x, y)` gives blue, green, red, alpha of the pixel counted from the top.
template <typename F>
std::vector<uint8_t> makeDib(int32_t w, int32_t h, int bits, F pixel) {
    int bpp = bits / 8;
    int32_t stride = (w * bpp + 3) & ~3;
    std::vector<uint8_t> out(40 + size_t(stride) * h, 0xEE); // padding bytes visibly non-zero
    BitmapInfoHeader hdr;
    hdr.width = w;
    hdr.height = h;
    hdr.bitCount = uint16_t(bits);
    hdr.sizeImage = uint32_t(stride * h);
    std::memcpy(out.data(), &hdr, 40);
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* row = out.data() + 40 + size_t(h - 1 - y) * stride;
        for (int32_t x = 0; x < w; ++x) {
            CCPixel p = pixel(x, y);
            row[x * bpp + 0] = p.blue;
            row[x * bpp + 1] = p.green;
            row[x * bpp + 2] = p.red;
            if (bpp == 4) row[x * bpp + 3] = p.alpha;
        }
    }
    return out;
}

inline std::vector<uint8_t> solidDib(int32_t w, int32_t h, int bits, CCPixel p) {
    return makeDib(w, h, bits, [&](int32_t, int32_t) { return p; });
}

// Starts the toolkit for one test and stops it again, whatever happens.
class ToolkitSession {
public:
    ToolkitSession() { toolkitStart(); }
    ~ToolkitSession() { toolkitStop(); }
};

// A resource module over blobs kept by the test.
struct TestModule {
    std::vector<std::vector<uint8_t>> blobs;
    std::vector<ResourceEntry> entries;
    ResourceModule module;

    void add(ResourceType type, int32_t id, std::vector<uint8_t> bytes) {
        blobs.push_back(std::move(bytes));
        entries.clear();
        (void)type;
        ids.push_back({type, id});
        for (size_t i = 0; i < blobs.size(); ++i) {
            entries.push_back({ids[i].first, ids[i].second, blobs[i].data(), uint32_t(blobs[i].size())});
        }
        module.entries = entries;
    }

private:
    std::vector<std::pair<ResourceType, int32_t>> ids;
};
