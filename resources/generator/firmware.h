#pragma once

#include <cstdint>
#include <vector>

// The firmware image the editor carries (version 1.5.0): the maker's header and a
// body that the editor never reads, here a fixed pseudo-random block.
std::vector<uint8_t> firmwareImage();
