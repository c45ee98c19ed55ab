#pragma once

// What the tests of preset files and of the librarian share: a clock that the
// test moves, and files read and written whole.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/clock.h"

namespace filetest {

// Time that passes only when the link pauses.
class ManualClock : public Clock {
public:
    uint32_t milliseconds() const override { return now; }
    uint32_t now = 0;
};

inline std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace filetest
