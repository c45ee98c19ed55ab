#pragma once

#include <cstdint>
#include <span>
#include <string>

// Replaces a file as a whole: the bytes go to a new file beside it, which is
// flushed to the disk and then renamed over the old one. Readers see either the
// old file or the new one, never a part; on failure the old file is untouched
// and no temporary file is left. The folder must exist.
bool writeFileAtomically(const std::string& path, std::span<const uint8_t> bytes);
