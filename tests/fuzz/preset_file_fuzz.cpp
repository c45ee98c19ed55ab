// Any bytes given as a preset or backup file must be decoded or refused
// without reading outside the buffer or allocating what the file claims.
#include <cstddef>
#include <cstdint>

#include "link/preset_file_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const presetfile::DecodedFile file = presetfile::decodeFile({data, size});
    // Touch what was decoded so nothing is optimised away.
    size_t values = 0;
    for (const auto& preset : file.presets)
        values += preset.values.size();
    return values > 1000000 ? 1 : 0;
}
