// Any bytes given as a preset or backup file must be decoded or refused
// without reading outside the buffer or allocating what the file claims, and
// what is decoded must make sense: every value belongs to a parameter of the
// chunk it came from, and a preset read whole writes back as a chunk that
// reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "link/preset_file_codec.h"

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "preset file decoder: %s\n", what);
        std::abort();
    }
}

constexpr int32_t kFirstPresetParameter = 9;
constexpr int32_t kLastPresetParameter = 91;
constexpr int32_t kFirstGlobal = 92;
constexpr int32_t kLastGlobal = 110;

std::map<int32_t, int16_t> byIndex(const std::vector<presetfile::ParameterValue>& values) {
    std::map<int32_t, int16_t> out;
    for (const auto& v : values)
        out[v.index] = v.value;
    return out;
}

// A preset with every value: written as a chunk of its own, it must read back
// with the same name and values, each once, in parameter order.
void checkRoundTrip(const presetfile::PresetContents& preset) {
    const std::map<int32_t, int16_t> values = byIndex(preset.values);
    if (!preset.usable || !preset.name ||
        values.size() != static_cast<size_t>(kLastPresetParameter - kFirstPresetParameter + 1))
        return;
    presetfile::Writer writer;
    writer.fileHeader(presetfile::FileKind::Preset);
    presetfile::writePresetChunk(writer, *preset.name, [&](int32_t index) { return values.at(index); });
    const presetfile::DecodedFile again = presetfile::decodeFile(writer.bytes());
    require(again.status == presetfile::FileStatus::Readable, "a re-encoded preset is not readable");
    require(again.presets.size() == 1 && again.presets[0].usable, "a re-encoded preset does not read whole");
    const presetfile::PresetContents& back = again.presets[0];
    require(back.name && back.name->shortName == preset.name->shortName &&
                back.name->description == preset.name->description,
            "a re-encoded preset reads with another name");
    require(back.values.size() == values.size(), "a re-encoded preset reads with other values");
    int32_t expected = kFirstPresetParameter;
    for (const auto& v : back.values) {
        require(v.index == expected++, "a re-encoded preset's values are out of parameter order");
        require(values.at(v.index) == v.value, "a re-encoded preset reads with other values");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const presetfile::DecodedFile file = presetfile::decodeFile({data, size});
    if (file.status != presetfile::FileStatus::Readable) {
        require(file.presets.empty() && !file.globals && !file.setlists, "a refused file yielded contents");
        return 0;
    }
    for (const auto& preset : file.presets) {
        for (const auto& v : preset.values)
            require(v.index >= kFirstPresetParameter && v.index <= kLastPresetParameter,
                    "a preset yielded a value of no preset parameter");
        checkRoundTrip(preset);
    }
    if (file.globals)
        for (const auto& v : *file.globals)
            require(v.index >= kFirstGlobal && v.index <= kLastGlobal,
                    "the globals yielded a value of no global setting");
    if (file.setlists)
        for (const auto& e : file.setlists->entries)
            require(e.setlist >= 0 && e.slot >= 0 && e.slot < 50 &&
                        (e.field == presetfile::SetlistField::Program ||
                         e.field == presetfile::SetlistField::Preset),
                    "a setlist entry has no setlist, slot or field");
    return 0;
}
