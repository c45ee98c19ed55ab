#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "link/preset_file_codec.h"
#include "link/tovan_process.h"
#include "model/parameter_rounding.h"
#include "model/pedal_parameters.h"
#include "model/pedal_values.h"
#include "platform/atomic_file.h"
#include "toolkit/dialogs.h"
#include "toolkit/path_text.h"

using namespace tovan;
using namespace presetfile;

namespace {

constexpr const char* kBackupInfo =
    "During backup, do not touch the controls on the Tovan, and wait until the operation is complete.";
constexpr const char* kRestoreQuestion =
    "You are loading a complete backup of the Tovan. This will replace all your presets with those from the "
    "backup.\n\nAre you sure you want to do this?";
constexpr const char* kRestoreWarning =
    "During backup restore, do not touch the controls on the Tovan, and wait "
    "until the operation is complete.\n\nDo you want to continue?";
constexpr const char* kNewerText =
    "This file requires a newer version of this application. It could not be processed completely.";
constexpr const char* kPedalErrorText =
    "An error occured on the Tovan during loading, so the operation may not be complete.";
constexpr const char* kNotValidText =
    "The file is not valid or it may be corrupt. It could not be processed.";
// Failures the editor reports beyond those above, so that nothing fails silently.
constexpr const char* kBackupFailedText =
    "The backup could not be completed because the Tovan stopped answering. No backup file was written.";
constexpr const char* kWriteFailedText =
    "The file could not be written. Check the folder and the free space.";
constexpr const char* kOpenFailedText = "The file could not be opened.";

constexpr std::chrono::milliseconds kPresetWaitStep{5};
constexpr uint32_t kPresetWaitLimitMs = 1000;

const std::vector<std::string> kPresetType{std::string(kPresetExtension)};
const std::vector<std::string> kPresetDescription{"Tovan preset"};
const std::vector<std::string> kBackupType{std::string(kBackupExtension)};
const std::vector<std::string> kBackupDescription{"Tovan backup"};
const std::vector<std::string> kLoadTypes{std::string(kPresetExtension), std::string(kBackupExtension)};
const std::vector<std::string> kLoadDescriptions{"Tovan preset", "Tovan backup"};

std::optional<std::vector<uint8_t>> readWholeFile(const std::string& path, bool& tooLarge) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<uint8_t> bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.insert(bytes.end(), buffer, buffer + in.gcount());
        if (bytes.size() > kMaxFileSize) {
            tooLarge = true;
            break;
        }
    }
    if (in.bad()) return std::nullopt;
    return bytes;
}

} // namespace

void TovanProcess::writePresetChunk(Writer& writer) {
    char name[4];
    char description[24];
    const auto preset = static_cast<int32_t>(loadedPresetNumber);
    readPresetName(preset % 100, preset >= 100, name);
    readPresetDescription(preset % 100, preset >= 100, description);
    presetfile::writePresetChunk(writer, {name, description}, [this](int32_t index) {
        return truncateToInt32(parameterManager->GetValue(index));
    });
}

void TovanProcess::applyFileValue(int32_t index, int32_t value) {
    const int32_t minimum = parameterManager->GetIntMin(index);
    const int32_t maximum = parameterManager->GetIntMax(index);
    if (maximum > minimum) value = std::clamp(value, minimum, maximum);
    if (pageView != nullptr && pageView->hasControl(index))
        pageView->setControlValue(index, value);
    else
        sendParameter(index, static_cast<float>(value));
}

bool TovanProcess::exportPresetTo(const std::string& path) {
    Writer writer;
    writer.fileHeader(FileKind::Preset);
    writePresetChunk(writer);
    if (writeFileAtomically(path, writer.bytes())) return true;
    showError(kWriteFailedText);
    return false;
}

void TovanProcess::exportPreset() {
    char description[24];
    const auto preset = static_cast<int32_t>(loadedPresetNumber);
    readPresetDescription(preset % 100, preset >= 100, description);
    std::string path = suggestedPresetFileName(description);
    if (!askSaveFile("Export Preset", kPresetType, kPresetDescription, fileFolder, path, true)) return;
    exportPresetTo(path);
}

TovanProcess::PresetWait TovanProcess::waitForActivePreset(bool stopOnFailure) {
    const uint32_t start = clock->milliseconds();
    proto::Payload record{};
    for (;;) {
        pause(kPresetWaitStep);
        const auto status = request(proto::kGroupDevice, proto::device::kStatus);
        if (!status && stopOnFailure) return PresetWait::Failed;
        if (status) record = *status;
        const uint8_t flags = record[proto::status::kFlagsByte];
        if (stopOnFailure && (flags & proto::status::kReload)) return PresetWait::Edited;
        const bool late = clock->milliseconds() - start > kPresetWaitLimitMs;
        if ((flags & proto::status::kPresetChanged) && !late) return PresetWait::Active;
        if (late) return PresetWait::TimedOut;
    }
}

bool TovanProcess::saveBackupTo(const std::string& path) {
    showInfo(kBackupInfo);
    if (pageView != nullptr) {
        pageView->showProgress(true);
        pageView->setProgress(0);
    }
    Writer writer;
    writer.fileHeader(FileKind::Backup);
    writeGlobalChunk(writer,
                     [this](int32_t index) { return truncateToInt32(parameterManager->GetValue(index)); });
    std::vector<SetlistSlot> slots;
    for (const SetlistRecord& record : setlistTable)
        for (int32_t k = 0; k < slotsPerSetlistValue; ++k)
            slots.push_back({record.program(k), record.preset(k)});
    writeSetlistChunk(writer, setlistCountValue, slotsPerSetlistValue, slots);

    const auto rememberedPreset =
        static_cast<uint8_t>(truncateToInt32(parameterManager->GetValue(kCurrentPreset)));
    const bool rememberedMode = parameterManager->GetValue(kModeSwitch) > 0.0f;
    setPedalMode(false);
    bulkBusy = true;

    int32_t saved = 0;
    for (int32_t slot = 0; slot < kBackupPresets && connected; ++slot) {
        selectPresetOnPedal(kPresetsPerBank + slot);
        PresetWait result = waitForActivePreset(true);
        for (int attempt = 0; result == PresetWait::Edited && attempt < 3; ++attempt) {
            // Another preset was left edited: discard that and ask again.
            revertPreset();
            selectPresetOnPedal(kPresetsPerBank + slot);
            result = waitForActivePreset(true);
        }
        if (result != PresetWait::Active) break;
        reload(false);
        writePresetChunk(writer);
        saved = slot + 1;
        if (pageView != nullptr) {
            pageView->setProgress(saved);
            pageView->invalidatePage();
        }
    }

    selectPresetOnPedal(rememberedPreset);
    setPedalMode(rememberedMode);
    bulkBusy = false;
    if (pageView != nullptr) pageView->showProgress(false);

    // Only a complete backup replaces a file; a short one would pass for good.
    if (saved < kBackupPresets) {
        showError(kBackupFailedText);
        return false;
    }
    if (!writeFileAtomically(path, writer.bytes())) {
        showError(kWriteFailedText);
        return false;
    }
    return true;
}

void TovanProcess::saveBackup() {
    std::string path = "Tovan Backup";
    if (!askSaveFile("Save All (backup)", kBackupType, kBackupDescription, fileFolder, path, true)) return;
    saveBackupTo(path);
}

bool TovanProcess::restoreBackup(const DecodedFile& file, bool& pedalError) {
    if (pageView != nullptr) {
        pageView->showProgress(true);
        pageView->setProgress(0);
    }
    const auto rememberedPreset =
        static_cast<uint8_t>(truncateToInt32(parameterManager->GetValue(kCurrentPreset)));
    const bool rememberedMode = parameterManager->GetValue(kModeSwitch) > 0.0f;
    if (connected) setPedalMode(false);

    if (file.globals)
        for (const ParameterValue& v : *file.globals)
            applyFileValue(v.index, v.value);
    if (file.setlists && connected) {
        for (const SetlistEntry& entry : file.setlists->entries) {
            // Only slots this pedal has are written.
            if (entry.setlist >= setlistCountValue || entry.slot >= slotsPerSetlistValue) continue;
            proto::Payload data{};
            data[0] = entry.value;
            const uint16_t command = entry.field == SetlistField::Program ? proto::setlist::kSlotProgram
                                                                          : proto::setlist::kSlotPreset;
            write(proto::kGroupSetlist, command,
                  {static_cast<uint8_t>(entry.setlist), static_cast<uint8_t>(entry.slot), 0, 0}, data);
        }
        readSetlists();
    }

    for (size_t slot = 0; slot < file.presets.size(); ++slot) {
        const PresetContents& preset = file.presets[slot];
        for (const ParameterValue& v : preset.values)
            applyFileValue(v.index, v.value);
        const PresetName name = preset.name.value_or(PresetName{});
        if (!storePreset(name.shortName.c_str(), name.description.c_str(), static_cast<int32_t>(slot)))
            pedalError = true;
        const bool confirmed = waitForActivePreset(false) == PresetWait::Active;
        if (pageView != nullptr) {
            pageView->setProgress(static_cast<int32_t>(slot) + 1);
            pageView->invalidatePage();
        }
        if (!confirmed) {
            // A preset the pedal does not confirm ends the restore.
            pedalError = true;
            break;
        }
    }

    selectPresetOnPedal(rememberedPreset);
    if (connected) setPedalMode(rememberedMode);
    if (pageView != nullptr) pageView->showProgress(false);
    namesChanged = true;
    return file.complete && !file.flags.damaged;
}

bool TovanProcess::loadFile(const std::string& path) {
    bool tooLarge = false;
    const std::optional<std::vector<uint8_t>> bytes = readWholeFile(path, tooLarge);
    if (!bytes) {
        showError(kOpenFailedText);
        return false;
    }
    const DecodedFile file = tooLarge ? DecodedFile{} : decodeFile(*bytes);
    bool newer = file.flags.newer || file.status == FileStatus::NewerFormat;
    bool pedalError = false;
    bool failure = file.status == FileStatus::TooShort;
    if (file.status == FileStatus::Foreign) return false;

    if (file.status == FileStatus::Readable && file.kind == FileKind::Preset) {
        const PresetContents& preset = file.presets.front();
        for (const ParameterValue& v : preset.values)
            applyFileValue(v.index, v.value);
        if (preset.name) {
            currentName.fill(0);
            currentDescription.fill(0);
            std::memcpy(currentName.data(), preset.name->shortName.data(),
                        std::min<size_t>(3, preset.name->shortName.size()));
            std::memcpy(currentDescription.data(), preset.name->description.data(),
                        std::min<size_t>(20, preset.name->description.size()));
        }
        failure = !file.complete || file.flags.damaged;
        if (!failure) {
            // The preset takes the file's name as its description.
            const std::string base = baseNameOf(path).substr(0, 20);
            currentDescription.fill(0);
            std::memcpy(currentDescription.data(), base.data(), base.size());
        }
    } else if (file.status == FileStatus::Readable && file.kind == FileKind::Backup) {
        if (!askYesNo(kRestoreQuestion) || !askYesNo(kRestoreWarning)) return false;
        failure = !restoreBackup(file, pedalError);
    }

    if (newer) showError(kNewerText);
    if (pedalError) showError(kPedalErrorText);
    if (failure) showError(kNotValidText);
    return !newer && !pedalError && !failure;
}

void TovanProcess::chooseAndLoadFile() {
    std::string path;
    if (!askOpenFile("Load", kLoadTypes, kLoadDescriptions, fileFolder, path, true)) return;
    loadFile(path);
}
