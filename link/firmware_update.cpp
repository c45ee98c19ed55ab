#include "link/firmware_update.h"

#include <cstdio>
#include <filesystem>

#include "platform/process_launch.h"
#include "platform/settings_store.h"
#include "platform/trace.h"
#include "toolkit/toolkit.h"

namespace firmware {

namespace {

bool writeAll(const std::string& path, std::span<const uint8_t> image, bool& created) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    created = file != nullptr;
    if (file == nullptr) return false;
    const bool written = std::fwrite(image.data(), 1, image.size(), file) == image.size();
    return std::fclose(file) == 0 && written;
}

} // namespace

bool updateOffered(Version pedal) {
    return versionNumber(pedal) < versionNumber(kCarriedVersion);
}

std::string offerText(Version pedal) {
    char text[256];
    std::snprintf(
        text, sizeof text,
        "There is a firmware update (version %u.%u.%02u) available for your Tovan. \n\nDo you want to "
        "upgrade the firmware now?\n\nCurrent firmware version =  %u.%u.%02u",
        kCarriedVersion.major, kCarriedVersion.minor, kCarriedVersion.build, pedal.major, pedal.minor,
        pedal.build);
    return text;
}

std::string imageFileName() {
    char name[64];
    std::snprintf(name, sizeof name, "Tovan_firmware_%02u.%02u.%02u.pfu", kCarriedVersion.major,
                  kCarriedVersion.minor, kCarriedVersion.build);
    return name;
}

std::string updaterCommandLine(std::string_view imagePath) {
    char id[32];
    std::snprintf(id, sizeof id, "vid_%04x&pid_%04x", kVendorId, kUpdateModeProductId);
    return " -path:\"" + std::string(imagePath) + "\" -id:" + id;
}

std::optional<std::string> registeredUpdater() {
    SettingsStore& store = settingsStore();
    if (!store.hasKey(kUpdaterKey)) return std::nullopt;
    const std::optional<SettingValue> value = store.read(kUpdaterKey, kUpdaterValue);
    if (!value || value->type != SettingType::String) return std::nullopt;
    std::string path = value->text();
    if (path.size() > kUpdaterPathLimit) path.resize(kUpdaterPathLimit);
    return path;
}

bool isUpdaterInstalled() {
    return registeredUpdater().has_value();
}

std::span<const uint8_t> carriedImage() {
    return findResource(ResourceType::Data, kImageResourceId);
}

std::optional<std::string> writeImageFile(std::string path, std::span<const uint8_t> image) {
    // A short image would be taken for firmware by the updater.
    if (image.size() != kImageSize) return std::nullopt;
    for (int attempt = 0; attempt < kImageFileAttempts; ++attempt) {
        bool created = false;
        if (writeAll(path, image, created)) return path;
        if (created) {
            // Created but not written whole (a full disk): no half image is left behind.
            std::error_code error;
            std::filesystem::remove(path, error);
            return std::nullopt;
        }
        path += '1';
    }
    return std::nullopt;
}

UpdateResult runUpdater(std::string_view imagePath) {
    const std::optional<std::string> updater = registeredUpdater();
    if (!updater) return UpdateResult::UpdaterMissing;
    const LaunchResult result =
        processLauncher().runAndWait(*updater, splitCommandLine(updaterCommandLine(imagePath)));
    if (!result.started) {
        std::printf("CreateProcess failed (%d).\n", result.error);
        return UpdateResult::UpdaterFailed;
    }
    return result.exitCode == 0 ? UpdateResult::Updated : UpdateResult::UpdaterFailed;
}

UpdateResult launchUpdate(std::string_view imagePath, const std::function<bool()>& enterUpdateMode) {
    if (!isUpdaterInstalled()) return UpdateResult::UpdaterMissing;
    if (!enterUpdateMode()) return UpdateResult::UpdateModeRefused;
    const UpdateResult result = runUpdater(imagePath);
    // A registration gone between the check and the start is a failed update.
    return result == UpdateResult::UpdaterMissing ? UpdateResult::UpdaterFailed : result;
}

std::string_view failureText(UpdateResult result) {
    switch (result) {
    case UpdateResult::Updated:
        return {};
    case UpdateResult::UpdaterMissing:
        return kUpdaterMissingText;
    case UpdateResult::UpdateModeRefused:
        return kUpdateModeFailedText;
    case UpdateResult::UpdaterFailed:
        return kUpdateFailedText;
    }
    return kUpdateFailedText;
}

bool offerable(Version pedal, std::span<const uint8_t> image) {
    if (!updateOffered(pedal)) return false;
    if (image.size() != kImageSize) {
        tovanTrace("checkFirmware: the carried image has %zu bytes, not %zu\n", image.size(), kImageSize);
        return false;
    }
    return true;
}

} // namespace firmware
