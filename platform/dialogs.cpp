#include "platform/dialogs.h"

#include "platform/installed_service.h"

namespace {

// Answers every question the safe way and shows nothing.
class NoDialogs : public DialogHost {
public:
    MessageAnswer messageBox(MessageStyle style, std::string_view, std::string_view) override {
        if (style == MessageStyle::WarningOkCancel) return MessageAnswer::Cancel;
        if (style == MessageStyle::QuestionYesNo) return MessageAnswer::No;
        return MessageAnswer::Ok;
    }
    std::optional<std::string> chooseFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> knownFolder(KnownFolder) override { return std::nullopt; }
    bool openWithShell(std::string_view) override { return false; }
};

InstalledService<DialogHost> installedHost;

DialogHost& fallbackHost() {
    static NoDialogs host;
    return host;
}

} // namespace

DialogHost& dialogHost() {
    return installedHost.get(fallbackHost());
}

DialogHost* setDialogHost(DialogHost* host) {
    return installedHost.replace(host);
}

std::string withDefaultExtension(const std::string& path, const std::string& extension) {
    const size_t slash = path.find_last_of("/\\");
    const std::string_view name =
        slash == std::string::npos ? std::string_view(path) : std::string_view(path).substr(slash + 1);
    if (extension.empty() || name.empty() || name.find('.') != std::string_view::npos) return path;
    return path + "." + extension;
}
