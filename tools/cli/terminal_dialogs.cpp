#include "tools/cli/terminal_dialogs.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

std::string oneLine(std::string_view text) {
    std::string line;
    for (char c : text) {
        const char shown = c == '\n' || c == '\r' || c == '\t' ? ' ' : c;
        if (shown == ' ' && (line.empty() || line.back() == ' ')) continue;
        line += shown;
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}

TerminalDialogs::TerminalDialogs(bool assumeYes, std::FILE* input, std::FILE* output)
    : assumeYes(assumeYes), input(input), output(output) {}

bool TerminalDialogs::canAnswer() const {
    return assumeYes || isatty(fileno(input)) != 0;
}

MessageAnswer TerminalDialogs::messageBox(MessageStyle style, std::string_view, std::string_view text) {
    const bool question = style == MessageStyle::QuestionYesNo || style == MessageStyle::WarningOkCancel;
    const MessageAnswer yes = style == MessageStyle::QuestionYesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    const MessageAnswer no = style == MessageStyle::QuestionYesNo ? MessageAnswer::No : MessageAnswer::Cancel;
    if (!question) {
        if (style == MessageStyle::Error) ++errors;
        std::fprintf(output, "%s%s\n", style == MessageStyle::Error ? "error: " : "", oneLine(text).c_str());
        return MessageAnswer::Ok;
    }
    if (assumeYes) return yes;
    if (!canAnswer()) return no;
    std::fprintf(output, "%s [y/N] ", oneLine(text).c_str());
    std::fflush(output);
    char line[64] = {};
    if (std::fgets(line, sizeof line, input) == nullptr) return no;
    return line[0] == 'y' || line[0] == 'Y' ? yes : no;
}

// Files are named on the command line; nothing is chosen interactively.
std::optional<std::string> TerminalDialogs::chooseFile(const FileDialogRequest&) {
    return std::nullopt;
}

std::optional<std::string> TerminalDialogs::knownFolder(KnownFolder kind) {
    if (kind != KnownFolder::ApplicationData) return std::nullopt;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/')
        return std::string(data);
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0')
        return std::string(home) + "/.local/share";
    return std::nullopt;
}

bool TerminalDialogs::openWithShell(std::string_view pathOrAddress) {
    std::fprintf(output, "see %.*s\n", static_cast<int>(pathOrAddress.size()), pathOrAddress.data());
    return true;
}
