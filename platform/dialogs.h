#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The platform's own dialogs: message boxes, file choosers, known folders
// and handing a document or address to the desktop.
enum class MessageStyle { WarningOkCancel, QuestionYesNo, Error, Info };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct FileDialogRequest {
    bool save = false;
    std::string title;
    // Parallel lists; the first extension is the default one.
    std::vector<std::string> extensions;
    std::vector<std::string> descriptions;
    // The folder to open in (may be empty) and, for saving, the proposed name.
    std::string folder;
    std::string proposedName;
    // For saving: the host adds this extension to a typed name that has none
    // before it asks about replacing an existing file, so that the question is
    // about the name that will be written.
    std::string defaultExtension;
};

// The name a save dialog writes: `path` with the default extension added when
// its file name has no extension. Hosts apply it before the overwrite question.
std::string withDefaultExtension(const std::string& path, const std::string& extension);

enum class KnownFolder { ApplicationData = 0, System = 1, SystemBinaries = 2 };

class DialogHost {
public:
    virtual ~DialogHost() = default;
    virtual MessageAnswer messageBox(MessageStyle style, std::string_view title, std::string_view text) = 0;
    // The chosen path, or nothing when the user cancelled. A save dialog asks
    // before replacing an existing file.
    virtual std::optional<std::string> chooseFile(const FileDialogRequest& request) = 0;
    // A folder chosen to open in `start`, or nothing when cancelled (a host
    // without a chooser always cancels).
    virtual std::optional<std::string> chooseFolder(std::string_view /*title*/,
                                                    const std::string& /*start*/) {
        return std::nullopt;
    }
    // The folder without trailing slash (application data is created when
    // missing), or nothing.
    virtual std::optional<std::string> knownFolder(KnownFolder kind) = 0;
    virtual bool openWithShell(std::string_view pathOrAddress) = 0;
};

// The host the process uses; until a program installs one, a scripted host
// with nothing scripted: questions are answered No or Cancel, file dialogs are
// cancelled, so nothing destructive ever happens by default.
DialogHost& dialogHost();
// Installs a host (not owned; null restores the default). Returns the previous.
DialogHost* setDialogHost(DialogHost* host);
