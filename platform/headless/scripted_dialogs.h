#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/dialogs.h"

// Dialogs without a display: answers come from a script, and everything shown
// is recorded. Used by tests and by the command-line tool. With the script
// empty, questions get No or Cancel, information gets Ok and file dialogs are
// cancelled.
class ScriptedDialogs : public DialogHost {
public:
    struct Shown {
        MessageStyle style;
        std::string title;
        std::string text;
    };

    void answerNext(MessageAnswer answer) { answers.push_back(answer); }
    void chooseNext(std::optional<std::string> path) { files.push_back(std::move(path)); }
    void setFolder(KnownFolder kind, std::optional<std::string> path);

    MessageAnswer messageBox(MessageStyle style, std::string_view title, std::string_view text) override;
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override;
    std::optional<std::string> knownFolder(KnownFolder kind) override;
    bool openWithShell(std::string_view pathOrAddress) override;

    std::vector<Shown> shown;
    std::vector<FileDialogRequest> fileRequests;
    std::vector<std::string> opened;

private:
    std::deque<MessageAnswer> answers;
    std::deque<std::optional<std::string>> files;
    std::optional<std::string> folders[3];
};
