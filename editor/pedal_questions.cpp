#include "editor/pedal_questions.h"

#include <filesystem>

#include "link/tovan_process.h"
#include "toolkit/dialogs.h"

namespace asking {

namespace {

constexpr const char* kDiscardQuestion =
    "The current preset has been edited.\n\nDo you want to discard changes and select a new preset?";
constexpr const char* kResetQuestion =
    "Are you sure? This will reset all settings on the Tovan. It will not delete your user presets.";
constexpr const char* kRestoreQuestion =
    "You are loading a complete backup of the Tovan. This will replace all your presets with those from the "
    "backup.\n\nAre you sure you want to do this?";
constexpr const char* kRestoreWarning =
    "During backup restore, do not touch the controls on the Tovan, and wait "
    "until the operation is complete.\n\nDo you want to continue?";
constexpr const char* kBackupInfo =
    "During backup, do not touch the controls on the Tovan, and wait until the operation is complete.";

const std::vector<std::string> kPresetType{std::string(presetfile::kPresetExtension)};
const std::vector<std::string> kPresetDescription{"Tovan preset"};
const std::vector<std::string> kBackupType{std::string(presetfile::kBackupExtension)};
const std::vector<std::string> kBackupDescription{"Tovan backup"};
const std::vector<std::string> kLoadTypes{std::string(presetfile::kPresetExtension),
                                          std::string(presetfile::kBackupExtension)};
const std::vector<std::string> kLoadDescriptions{"Tovan preset", "Tovan backup"};
const std::vector<std::string> kFirmwareTypes{"pfu"};
const std::vector<std::string> kFirmwareDescriptions{"Tovan firmware"};

std::function<bool()> updateModeOf(TovanProcess& process) {
    return [&process] { return process.firmware().enterUpdateMode(); };
}

} // namespace

bool DialogQuestions::discardEdits() {
    return askYesNo(kDiscardQuestion);
}

bool tell(const FileOutcome& outcome) {
    for (const std::string& problem : outcome.problems)
        showError(problem);
    return outcome.ok;
}

void resetPedal(TovanProcess& process) {
    if (askYesNo(kResetQuestion)) process.presets().resetSettings();
}

bool exportPresetTo(TovanProcess& process, const std::string& path) {
    return tell(process.files().exportPreset(path));
}

void exportPreset(TovanProcess& process, std::string& folder) {
    char description[24];
    const int32_t preset = process.presets().loaded();
    process.presets().readDescription(preset % 100, preset >= 100, description);
    std::string path = presetfile::suggestedPresetFileName(description);
    if (!askSaveFile("Export Preset", kPresetType, kPresetDescription, folder, path, true)) return;
    exportPresetTo(process, path);
}

bool saveBackupTo(TovanProcess& process, const std::string& path) {
    showInfo(kBackupInfo);
    return tell(process.backup().saveTo(path));
}

void saveBackup(TovanProcess& process, std::string& folder) {
    std::string path = "Tovan Backup";
    if (!askSaveFile("Save All (backup)", kBackupType, kBackupDescription, folder, path, true)) return;
    saveBackupTo(process, path);
}

bool loadDecodedFile(TovanProcess& process, const presetfile::DecodedFile& file, const std::string& path) {
    if (PresetFiles::restoresPedal(file) && (!askYesNo(kRestoreQuestion) || !askYesNo(kRestoreWarning)))
        return false;
    return tell(process.files().load(file, path));
}

bool loadFile(TovanProcess& process, const std::string& path) {
    FileOutcome opened;
    const std::optional<presetfile::DecodedFile> file = process.files().open(path, opened);
    if (!file) return tell(opened);
    return loadDecodedFile(process, *file, path);
}

void chooseAndLoadFile(TovanProcess& process, std::string& folder) {
    std::string path;
    if (!askOpenFile("Load", kLoadTypes, kLoadDescriptions, folder, path, true)) return;
    loadFile(process, path);
}

void updateFirmware(std::string_view imagePath, const std::function<bool()>& enterUpdateMode) {
    const firmware::UpdateResult result = firmware::launchUpdate(imagePath, enterUpdateMode);
    if (result == firmware::UpdateResult::Updated) return;
    showError(firmware::failureText(result));
    if (result == firmware::UpdateResult::UpdaterMissing) openWithShell(firmware::kUpdaterDownloadAddress);
}

void offerFirmware(firmware::Version pedal, std::span<const uint8_t> image,
                   const std::function<bool()>& enterUpdateMode) {
    if (!firmware::offerable(pedal, image)) return;
    if (!askYesNo(firmware::offerText(pedal))) return;
    const std::string folder = knownFolder(KnownFolder::ApplicationData, true).value_or("");
    const std::optional<std::string> written =
        firmware::writeImageFile(folder + firmware::imageFileName(), image);
    if (!written) return;
    updateFirmware(*written, enterUpdateMode);
    std::error_code error;
    std::filesystem::remove(*written, error);
}

void checkFirmware(TovanProcess& process) {
    if (!process.firmware().takeCheck()) return;
    const std::array<uint8_t, 3> version = process.identity().firmwareVersion();
    offerFirmware({version[0], version[1], version[2]}, process.firmware().imageToOffer(),
                  updateModeOf(process));
}

void chooseAndUpdateFirmware(TovanProcess& process, std::string& folder) {
    std::string path = " Tovan";
    if (!askOpenFile("Open File", kFirmwareTypes, kFirmwareDescriptions, folder, path, true)) return;
    updateFirmware(path, updateModeOf(process));
}

} // namespace asking
