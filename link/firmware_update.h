#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The firmware the editor carries, the check against the pedal's version, and
// handing the update to the maker's separate updater program. Nothing here
// asks or tells the player: results say what happened, and the editor asks.
namespace firmware {

struct Version {
    uint8_t major = 255;
    uint8_t minor = 255;
    uint8_t build = 255;
};

inline constexpr Version kCarriedVersion{1, 5, 0};
inline constexpr uint16_t kVendorId = 0x231C;
inline constexpr uint16_t kUpdateModeProductId = 0x8002;
inline constexpr std::string_view kUpdaterKey = "SOFTWARE\\Plavik\\Firmware Updater";
inline constexpr std::string_view kUpdaterValue = "path";
inline constexpr size_t kUpdaterPathLimit = 512;
inline constexpr int kImageFileAttempts = 10;
// The carried image: data resource 1 of the program, exactly this long.
inline constexpr int32_t kImageResourceId = 1;
inline constexpr size_t kImageSize = 106552;
// Where users get the updater when it is missing.
inline constexpr std::string_view kUpdaterDownloadAddress =
    "https://www.plavik.com/downloads/firmware-updater";

inline constexpr std::string_view kUpdaterMissingText =
    "The Plavik Firmware Updater could not be found.\n\nYou must install the Plavik Firmware Updater before "
    "you "
    "can update firmware.";
inline constexpr std::string_view kUpdateModeFailedText = "Unable to put device into firmware update mode.";
inline constexpr std::string_view kUpdateFailedText = "Firmware Update Failed";

constexpr uint32_t versionNumber(Version v) {
    return v.major * 65536u + v.minor * 256u + v.build;
}
// Only a pedal older than the carried image is offered the update; a version
// never read (255.255.255) never is.
bool updateOffered(Version pedal);
std::string offerText(Version pedal);
// "Tovan_firmware_01.05.00.pfu"
std::string imageFileName();
// " -path:"<image>" -id:vid_231c&pid_8002"
std::string updaterCommandLine(std::string_view imagePath);

// The registered updater's path: only a string value counts.
std::optional<std::string> registeredUpdater();
bool isUpdaterInstalled();

// The image the program carries among its resources; empty when it has none.
std::span<const uint8_t> carriedImage();

// Writes the image to path; when the file cannot be created, tries again with
// "1" appended, at most kImageFileAttempts times. The path written, or nothing;
// an image that is not kImageSize bytes is never written.
std::optional<std::string> writeImageFile(std::string path, std::span<const uint8_t> image);

// What handing an update to the updater came to.
enum class UpdateResult { Updated, UpdaterMissing, UpdateModeRefused, UpdaterFailed };
// The message the player is told for a result (empty for Updated). A missing
// updater also sends the player to kUpdaterDownloadAddress.
std::string_view failureText(UpdateResult result);

// Starts the registered updater with the image and waits for it: Updated when
// it ended with exit code 0, UpdaterMissing without a registration.
UpdateResult runUpdater(std::string_view imagePath);
// Puts the pedal into update mode and runs the updater; nothing is asked or told.
UpdateResult launchUpdate(std::string_view imagePath, const std::function<bool()>& enterUpdateMode);

// Whether the check after a connection offers image to this pedal: an older
// pedal, and a whole image (a short one is never offered). The offer itself,
// writing the image beside the user's data, the launch and deleting the image
// again are the caller's, who asks the player.
bool offerable(Version pedal, std::span<const uint8_t> image);

} // namespace firmware
