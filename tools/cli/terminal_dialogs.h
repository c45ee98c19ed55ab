#pragma once

#include <cstdio>

#include "platform/dialogs.h"

// The editor's message boxes on a terminal: errors and information go to
// stderr as one line each; questions are asked on the terminal, or answered
// yes by --yes. Without a terminal and without --yes every question is
// answered no.
class TerminalDialogs : public DialogHost {
public:
    TerminalDialogs(bool assumeYes, std::FILE* input, std::FILE* output);

    MessageAnswer messageBox(MessageStyle style, std::string_view title, std::string_view text) override;
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override;
    std::optional<std::string> knownFolder(KnownFolder kind) override;
    bool openWithShell(std::string_view pathOrAddress) override;

    // Whether questions can be answered at all (a terminal, or --yes).
    bool canAnswer() const;
    bool errorShown() const { return errors > 0; }

private:
    bool assumeYes;
    std::FILE* input;
    std::FILE* output;
    int errors = 0;
};

// The text on one line: line breaks become spaces, runs of spaces one.
std::string oneLine(std::string_view text);
