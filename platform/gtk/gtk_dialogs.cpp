#include "platform/gtk/gtk_dialogs.h"

#include <gtk/gtk.h>

#include <filesystem>

#include "platform/gtk/gtk_main_window.h"
#include "platform/gtk/text_codec.h"
#include "platform/trace.h"
#include "toolkit/file_filters.h"

namespace {

GtkWindow* parentOf(GtkMainWindow* window) {
    return window != nullptr ? GTK_WINDOW(window->nativeWindow()) : nullptr;
}

GtkWidget* newMessageDialog(GtkWindow* parent, GtkMessageType type, GtkButtonsType buttons,
                            const std::string& text) {
    GtkWidget* dialog = gtk_message_dialog_new(
        parent, static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT), type, buttons,
        "%s", text.c_str());
    // Above a window that stays on top: the question must never hide behind it.
    if (parent != nullptr && gtk_window_get_transient_for(GTK_WINDOW(dialog)) == nullptr)
        gtk_window_set_transient_for(GTK_WINDOW(dialog), parent);
    gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    return dialog;
}

bool hasExtension(const std::string& path, const std::string& extension) {
    const std::string suffix = "." + extension;
    return path.size() > suffix.size() &&
           path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The extension of the filter the user has chosen (the first when none).
std::string chosenExtension(GtkFileChooser* chooser, const FileDialogRequest& request,
                            const std::vector<GtkFileFilter*>& filters) {
    GtkFileFilter* chosen = gtk_file_chooser_get_filter(chooser);
    for (size_t i = 0; i < filters.size() && i < request.extensions.size(); ++i)
        if (filters[i] == chosen) return request.extensions[i];
    return request.extensions.empty() ? std::string() : request.extensions.front();
}

struct FilterSwitch {
    const FileDialogRequest* request;
    std::vector<GtkFileFilter*> filters;
};

// Keeps the typed name's extension in step with the chosen filter while the
// save dialog is open.
void onFilterChanged(GObject* object, GParamSpec*, gpointer data) {
    auto* state = static_cast<FilterSwitch*>(data);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(object);
    gchar* current = gtk_file_chooser_get_current_name(chooser);
    if (current == nullptr) return;
    std::string name = current;
    g_free(current);
    const std::string extension = chosenExtension(chooser, *state->request, state->filters);
    // What follows the last dot becomes the new extension; a name without one stays.
    if (extension.empty() || extension == "*") return;
    const std::string changed = nameForFilterChange(name, extension);
    if (changed != name) gtk_file_chooser_set_current_name(chooser, changed.c_str());
}

} // namespace

MessageAnswer GtkDialogHost::messageBox(MessageStyle style, std::string_view title, std::string_view text) {
    GtkMessageType type = GTK_MESSAGE_INFO;
    GtkButtonsType buttons = GTK_BUTTONS_OK;
    switch (style) {
    case MessageStyle::WarningOkCancel:
        type = GTK_MESSAGE_WARNING;
        buttons = GTK_BUTTONS_OK_CANCEL;
        break;
    case MessageStyle::QuestionYesNo:
        type = GTK_MESSAGE_QUESTION;
        buttons = GTK_BUTTONS_YES_NO;
        break;
    case MessageStyle::Error:
        type = GTK_MESSAGE_ERROR;
        break;
    case MessageStyle::Info:
        break;
    }
    // What the player is told, for the end-to-end tests to read (with TOVAN_TRACE=1).
    tovanTrace("message box \"%.*s\": %.*s\n", static_cast<int>(title.size()), title.data(),
               static_cast<int>(text.size()), text.data());
    GtkWidget* dialog = newMessageDialog(parentOf(parent), type, buttons, utf8FromToolkit(text));
    gtk_window_set_title(GTK_WINDOW(dialog), utf8FromToolkit(title).c_str());
    // Return answers with the first button (OK, Yes), as the desktop's boxes do.
    if (style == MessageStyle::WarningOkCancel)
        gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
    if (style == MessageStyle::QuestionYesNo)
        gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_YES);
    const gint response = gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    switch (style) {
    case MessageStyle::WarningOkCancel:
        return response == GTK_RESPONSE_OK ? MessageAnswer::Ok : MessageAnswer::Cancel;
    case MessageStyle::QuestionYesNo:
        return response == GTK_RESPONSE_YES ? MessageAnswer::Yes : MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}

std::optional<std::string> GtkDialogHost::chooseFolder(std::string_view title, const std::string& start) {
    GtkWidget* dialog = gtk_file_chooser_dialog_new(
        utf8FromToolkit(title).c_str(), parentOf(parent), GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, "_Cancel",
        GTK_RESPONSE_CANCEL, "_Choose", GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    gtk_file_chooser_set_create_folders(chooser, TRUE);
    // A folder not made yet opens at the nearest one that is there.
    std::error_code error;
    std::filesystem::path folder = start;
    while (!folder.empty() && folder != folder.root_path() && !std::filesystem::is_directory(folder, error))
        folder = folder.parent_path();
    if (!folder.empty() && std::filesystem::is_directory(folder, error))
        gtk_file_chooser_set_current_folder(chooser, folder.c_str());
    std::optional<std::string> chosen;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        if (gchar* path = gtk_file_chooser_get_filename(chooser)) {
            chosen = std::string(path);
            g_free(path);
        }
    }
    gtk_widget_destroy(dialog);
    return chosen;
}

std::optional<std::string> GtkDialogHost::chooseFile(const FileDialogRequest& request) {
    const GtkFileChooserAction action =
        request.save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN;
    GtkWidget* dialog = gtk_file_chooser_dialog_new(
        utf8FromToolkit(request.title).c_str(), parentOf(parent), action, "_Cancel", GTK_RESPONSE_CANCEL,
        request.save ? "_Save" : "_Open", GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    FilterSwitch state{&request, {}};
    for (size_t i = 0; i < request.extensions.size(); ++i) {
        GtkFileFilter* filter = gtk_file_filter_new();
        const std::string& extension = request.extensions[i];
        const std::string description = i < request.descriptions.size() ? request.descriptions[i] : extension;
        gtk_file_filter_set_name(filter, utf8FromToolkit(description).c_str());
        gtk_file_filter_add_pattern(filter, extension == "*" ? "*" : ("*." + extension).c_str());
        gtk_file_chooser_add_filter(chooser, filter);
        state.filters.push_back(filter);
    }
    if (!request.folder.empty() && std::filesystem::is_directory(request.folder))
        gtk_file_chooser_set_current_folder(chooser, request.folder.c_str());
    if (request.save) {
        std::string name = request.proposedName;
        if (!request.extensions.empty() && !hasExtension(name, request.extensions.front()))
            name += "." + request.extensions.front();
        gtk_file_chooser_set_current_name(chooser, utf8FromToolkit(name).c_str());
        // The chooser would ask about the name as typed; the question is asked
        // below about the name that is written.
        gtk_file_chooser_set_do_overwrite_confirmation(chooser, FALSE);
        g_signal_connect(chooser, "notify::filter", G_CALLBACK(onFilterChanged), &state);
    }
    std::optional<std::string> chosen;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        if (gchar* path = gtk_file_chooser_get_filename(chooser)) {
            chosen = std::string(path);
            g_free(path);
        }
    }
    std::string extension;
    if (chosen && request.save) extension = chosenExtension(chooser, request, state.filters);
    gtk_widget_destroy(dialog);
    if (!chosen || !request.save) return chosen;
    // The name gets the chosen filter's extension as the file filters' rule
    // says, and a file that exists under that name is asked about.
    const std::string full = savedFileName(*chosen, extension);
    if (std::filesystem::exists(full)) {
        const std::string question = "\"" + std::filesystem::path(full).filename().string() +
                                     "\" already exists. Do you want to replace it?";
        // Titled like the chooser's own question, which it stands in for.
        if (messageBox(MessageStyle::QuestionYesNo, "The file already exists", toolkitFromUtf8(question)) !=
            MessageAnswer::Yes)
            return std::nullopt;
    }
    return full;
}

std::optional<std::string> GtkDialogHost::knownFolder(KnownFolder kind) {
    switch (kind) {
    case KnownFolder::ApplicationData: {
        const std::string folder = g_get_user_data_dir();
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
        return std::filesystem::is_directory(folder) ? std::optional<std::string>(folder) : std::nullopt;
    }
    case KnownFolder::System:
        return std::string("/usr/share");
    case KnownFolder::SystemBinaries:
        return std::string("/usr/bin");
    }
    return std::nullopt;
}

bool GtkDialogHost::openWithShell(std::string_view pathOrAddress) {
    const std::string target(pathOrAddress);
    std::string uri = target;
    if (target.find("://") == std::string::npos) {
        gchar* converted = g_filename_to_uri(target.c_str(), nullptr, nullptr);
        if (converted == nullptr) return false;
        uri = converted;
        g_free(converted);
    }
    return g_app_info_launch_default_for_uri(uri.c_str(), nullptr, nullptr) != FALSE;
}
