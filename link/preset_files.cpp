#include "link/preset_files.h"

#include <algorithm>
#include <cstring>

#include "link/file_reading.h"
#include "link/pedal_view.h"
#include "link/preset_file_codec.h"
#include "link/tovan_process.h"
#include "model/parameter_rounding.h"
#include "model/pedal_parameters.h"
#include "model/pedal_values.h"
#include "platform/atomic_file.h"
#include "toolkit/path_text.h"

using namespace tovan;
using namespace presetfile;

namespace {

constexpr const char* kNewerText =
    "This file requires a newer version of this application. It could not be processed completely.";
constexpr const char* kPedalErrorText =
    "An error occured on the Tovan during loading, so the operation may not be complete.";
constexpr const char* kNotValidText =
    "The file is not valid or it may be corrupt. It could not be processed.";
constexpr const char* kWriteFailedText =
    "The file could not be written. Check the folder and the free space.";
constexpr const char* kOpenFailedText = "The file could not be opened.";

} // namespace

PresetFiles::PresetFiles(TovanProcess& process, LinkState& state) : process(process), state(state) {}

void PresetFiles::writePresetChunk(Writer& writer) {
    char name[4];
    char description[24];
    const auto preset = static_cast<int32_t>(state.loadedPreset);
    process.presets().readName(preset % 100, preset >= 100, name);
    process.presets().readDescription(preset % 100, preset >= 100, description);
    presetfile::writePresetChunk(writer, {name, description}, [this](int32_t index) {
        return truncateToInt32(process.parameters()->GetValue(index));
    });
}

void PresetFiles::applyFileValue(int32_t index, int32_t value) {
    const int32_t minimum = process.parameters()->GetIntMin(index);
    const int32_t maximum = process.parameters()->GetIntMax(index);
    if (maximum >= minimum) value = std::clamp(value, minimum, maximum);
    if (state.view != nullptr && state.view->hasControl(index))
        state.view->setControlValue(index, value);
    else
        process.values().sendParameter(index, static_cast<float>(value));
}

FileOutcome PresetFiles::exportPreset(const std::string& path) {
    Writer writer;
    writer.fileHeader(FileKind::Preset);
    writePresetChunk(writer);
    if (writeFileAtomically(path, writer.bytes())) return FileOutcome::done();
    return FileOutcome::failed(kWriteFailedText);
}

std::optional<DecodedFile> PresetFiles::open(const std::string& path, FileOutcome& outcome) {
    const FileBytes read = readFileBytes(path);
    if (read.problem != ReadProblem::None && read.problem != ReadProblem::TooLarge) {
        outcome = FileOutcome::failed(kOpenFailedText);
        return std::nullopt;
    }
    // Anything larger than the format allows is not one of our files.
    return decodeFile(read.problem == ReadProblem::TooLarge ? std::vector<uint8_t>{} : read.bytes);
}

bool PresetFiles::restoresPedal(const DecodedFile& file) {
    return file.status == FileStatus::Readable && file.kind == FileKind::Backup;
}

FileOutcome PresetFiles::load(const DecodedFile& file, const std::string& path) {
    bool newer = file.flags.newer || file.status == FileStatus::NewerFormat;
    std::string pedalError;
    bool failure = file.status == FileStatus::TooShort;
    if (file.status == FileStatus::Foreign) return {};

    if (file.status == FileStatus::Readable && file.kind == FileKind::Preset) {
        const PresetContents& preset = file.presets.front();
        for (const ParameterValue& v : preset.values)
            applyFileValue(v.index, v.value);
        if (preset.name) {
            state.currentName.fill(0);
            state.currentDescription.fill(0);
            std::memcpy(state.currentName.data(), preset.name->shortName.data(),
                        std::min<size_t>(3, preset.name->shortName.size()));
            std::memcpy(state.currentDescription.data(), preset.name->description.data(),
                        std::min<size_t>(20, preset.name->description.size()));
        }
        failure = !file.complete || file.flags.damaged;
        if (!failure) {
            // The preset takes the file's name as its description.
            const std::string base = baseNameOf(path).substr(0, 20);
            state.currentDescription.fill(0);
            std::memcpy(state.currentDescription.data(), base.data(), base.size());
        }
    } else if (restoresPedal(file)) {
        failure = !process.backup().restore(file, pedalError);
    }

    FileOutcome outcome;
    if (newer) outcome.problems.emplace_back(kNewerText);
    if (!pedalError.empty()) outcome.problems.push_back(std::string(kPedalErrorText) + pedalError);
    if (failure) outcome.problems.emplace_back(kNotValidText);
    outcome.ok = !newer && pedalError.empty() && !failure;
    return outcome;
}
