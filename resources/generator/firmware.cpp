#include "firmware.h"

#include <cstring>

namespace {

constexpr size_t kImageSize = 106552;
constexpr size_t kHeaderSize = 56;

void put16(std::vector<uint8_t>& v, size_t at, uint16_t x) {
    v[at] = uint8_t(x);
    v[at + 1] = uint8_t(x >> 8);
}
void put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i)
        v[at + i] = uint8_t(x >> (8 * i));
}

} // namespace

std::vector<uint8_t> firmwareImage() {
    std::vector<uint8_t> image(kImageSize, 0);
    std::memcpy(image.data(), "PLAVIKFW", 8);
    put16(image, 12, 0x231C);
    put16(image, 14, 0x8002);
    std::memcpy(image.data() + 16, "Tovan", 5);
    const uint8_t version[4] = {1, 1, 5, 0};
    std::memcpy(image.data() + 48, version, 4);
    put32(image, 52, uint32_t(kImageSize - kHeaderSize));

    uint32_t state = 0x01050000u ^ 0x9E3779B9u;
    for (size_t i = kHeaderSize; i < kImageSize; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        image[i] = uint8_t(state >> 24);
    }
    // The image's own value at offset 8: a sum over the body, as a loader would check.
    uint32_t sum = 0;
    for (size_t i = kHeaderSize; i < kImageSize; ++i)
        sum = sum * 31 + image[i];
    put32(image, 8, sum);
    return image;
}
