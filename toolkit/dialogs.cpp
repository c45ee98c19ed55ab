#include "toolkit/dialogs.h"

#include "toolkit/app_strings.h"
#include "toolkit/path_text.h"

namespace {

std::string titled(const char* suffix) {
    return appString(kAppDisplayName) + suffix;
}

bool askFile(bool save, std::string_view title, std::span<const std::string> extensions,
             std::span<const std::string> descriptions, std::string& folder, std::string& path,
             bool keepName) {
    FileDialogRequest request;
    request.save = save;
    request.title = std::string(title);
    request.extensions.assign(extensions.begin(), extensions.end());
    request.descriptions.assign(descriptions.begin(), descriptions.end());
    request.folder = folder;
    if (!keepName && !save) path.clear();
    request.proposedName = path;
    // The host adds the extension to a name typed without one, before it asks
    // about replacing a file: adding it here, afterwards, would write a file
    // nobody was asked about.
    if (save && !extensions.empty()) request.defaultExtension = extensions.front();
    const std::optional<std::string> chosen = dialogHost().chooseFile(request);
    if (!chosen) return false;
    path = *chosen;
    if (keepName && !folder.empty()) folder = folderOf(path, false);
    return true;
}

} // namespace

bool confirmWarning(std::string_view text) {
    return dialogHost().messageBox(MessageStyle::WarningOkCancel, titled(" Warning"), text) ==
           MessageAnswer::Ok;
}

bool askYesNo(std::string_view text) {
    return dialogHost().messageBox(MessageStyle::QuestionYesNo, titled(""), text) == MessageAnswer::Yes;
}

MessageAnswer showError(std::string_view text) {
    return dialogHost().messageBox(MessageStyle::Error, titled(" Error"), text);
}

MessageAnswer showInfo(std::string_view text) {
    return dialogHost().messageBox(MessageStyle::Info, titled(" Info"), text);
}

bool askOpenFile(std::string_view title, std::span<const std::string> extensions,
                 std::span<const std::string> descriptions, std::string& folder, std::string& path,
                 bool keepName) {
    return askFile(false, title, extensions, descriptions, folder, path, keepName);
}

bool askSaveFile(std::string_view title, std::span<const std::string> extensions,
                 std::span<const std::string> descriptions, std::string& folder, std::string& path,
                 bool keepName) {
    return askFile(true, title, extensions, descriptions, folder, path, keepName);
}

std::optional<std::string> knownFolder(KnownFolder kind, bool withSlash) {
    std::optional<std::string> folder = dialogHost().knownFolder(kind);
    if (!folder || folder->empty()) return std::nullopt;
    return withSlash ? appendSlash(*folder) : *folder;
}

bool openWithShell(std::string_view pathOrAddress) {
    return dialogHost().openWithShell(pathOrAddress);
}

CCRect centreOnScreen(CCRect window, int32_t screenWidth, int32_t screenHeight) {
    const int32_t left = screenWidth / 2 - window.width() / 2;
    const int32_t top = screenHeight / 2 - window.height() / 2;
    return {left, top, left + window.width(), top + window.height()};
}

bool confirmListDeletion() {
    return askYesNo("Are you sure you want to delete ?");
}
