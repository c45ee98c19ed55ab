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
    const std::optional<std::string> chosen = dialogHost().chooseFile(request);
    if (!chosen) return false;
    path = *chosen;
    // A name typed without extension gets the default one.
    const size_t slash = path.rfind(kPathSeparator);
    const std::string_view name =
        slash == std::string::npos ? std::string_view(path) : std::string_view(path).substr(slash + 1);
    if (save && !extensions.empty() && !name.empty() && name.find('.') == std::string_view::npos)
        path += "." + extensions.front();
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

bool confirmListDeletion() {
    return askYesNo("Are you sure you want to delete ?");
}
