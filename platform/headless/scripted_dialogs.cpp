#include "platform/headless/scripted_dialogs.h"

#include "toolkit/file_filters.h"

void ScriptedDialogs::setFolder(KnownFolder kind, std::optional<std::string> path) {
    folders[static_cast<int>(kind)] = std::move(path);
}

MessageAnswer ScriptedDialogs::messageBox(MessageStyle style, std::string_view title, std::string_view text) {
    shown.push_back({style, std::string(title), std::string(text)});
    if (!answers.empty()) {
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    switch (style) {
    case MessageStyle::WarningOkCancel:
        return MessageAnswer::Cancel;
    case MessageStyle::QuestionYesNo:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}

std::optional<std::string> ScriptedDialogs::chooseFile(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (files.empty()) return std::nullopt;
    auto path = std::move(files.front());
    files.pop_front();
    // As the real save dialog does with a typed name: a name that ends in one of
    // the request's extensions was saved with that filter chosen; others get
    // the default one.
    if (path && request.save) {
        bool filtered = false;
        for (const std::string& extension : request.extensions)
            filtered = filtered || (path->size() > extension.size() + 1 && path->ends_with("." + extension));
        if (!filtered) path = savedFileName(*path, request.defaultExtension);
    }
    return path;
}

std::optional<std::string> ScriptedDialogs::knownFolder(KnownFolder kind) {
    return folders[static_cast<int>(kind)];
}

bool ScriptedDialogs::openWithShell(std::string_view pathOrAddress) {
    opened.emplace_back(pathOrAddress);
    return true;
}
