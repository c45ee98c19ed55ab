#include "platform/gtk/testing/gtk_test_driver.h"

#include <gtk/gtk.h>

// What the desktop libraries keep for the process's life (font and bus
// caches) is not the program's leak.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libdbus-1.so\n";
}

namespace gtktest {

struct DialogPlayer::State {
    std::string typed;
    gint answer = GTK_RESPONSE_NO;
    bool nameGiven = false;
    int chooserTicks = 0;
    int mappedTicks = 0;
    int shownTicks = 0; // turns the typed name has stayed
    std::vector<std::string> questions;
    guint source = 0;
};

namespace {

gboolean play(gpointer data) {
    auto* state = static_cast<DialogPlayer::State*>(data);
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item != nullptr; item = item->next) {
        GtkWidget* widget = GTK_WIDGET(item->data);
        if (!gtk_widget_get_visible(widget)) continue;
        if (GTK_IS_MESSAGE_DIALOG(widget)) {
            gchar* text = nullptr;
            g_object_get(widget, "text", &text, nullptr);
            state->questions.emplace_back(text != nullptr ? text : "");
            g_free(text);
            gtk_dialog_response(GTK_DIALOG(widget), state->answer);
            break;
        }
        if (GTK_IS_FILE_CHOOSER_DIALOG(widget)) {
            // Until the chooser takes it: one still reading its folder ignores
            // an early answer.
            if (++state->chooserTicks > 200) {
                gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_CANCEL); // it never did: give up
                break;
            }
            // The name is typed, then accepted on a later turn once the chooser
            // still shows it (one that is still opening puts its proposed name
            // back).
            GtkFileChooser* chooser = GTK_FILE_CHOOSER(widget);
            gchar* current = gtk_file_chooser_get_current_name(chooser);
            const bool shown = current != nullptr && state->typed == current;
            g_free(current);
            if (!gtk_widget_get_mapped(widget) || ++state->mappedTicks < 6) break; // let it settle
            if (!shown) {
                gtk_file_chooser_set_current_name(chooser, state->typed.c_str());
                state->nameGiven = true;
                state->shownTicks = 0;
            } else if (++state->shownTicks >= 2) {
                state->nameGiven = true;
                gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_ACCEPT);
            }
            break;
        }
    }
    g_list_free(windows);
    return G_SOURCE_CONTINUE;
}

} // namespace

bool start() {
    // Once a process: GTK starts once, and each backend choice is kept for good.
    static const bool started = [] {
        // The file chooser keeps its settings; a test's go nowhere.
        g_setenv("GSETTINGS_BACKEND", "memory", TRUE);
        // No accessibility bridge: it wants a session bus and keeps its own.
        g_setenv("NO_AT_BRIDGE", "1", TRUE);
        gdk_set_allowed_backends("x11");
        return gtk_init_check(nullptr, nullptr) != FALSE;
    }();
    return started;
}

void drainLoop() {
    for (int turn = 0; turn < 200 && g_main_context_iteration(nullptr, FALSE); ++turn) {
    }
}

DialogPlayer::DialogPlayer(std::string typed, bool answerYes) : state(std::make_unique<State>()) {
    state->typed = std::move(typed);
    state->answer = answerYes ? GTK_RESPONSE_YES : GTK_RESPONSE_NO;
    state->source = g_timeout_add(50, play, state.get());
}

DialogPlayer::~DialogPlayer() {
    g_source_remove(state->source);
}

const std::vector<std::string>& DialogPlayer::questions() const {
    return state->questions;
}

bool DialogPlayer::typedName() const {
    return state->nameGiven;
}

} // namespace gtktest
