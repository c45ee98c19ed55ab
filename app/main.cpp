// The editor: one window on the pedal, one instance a session.
#include <memory>
#include <string>
#include <vector>

#include "app/cli_service.h"
#include "app/main_panel.h"
#include "editor/editor_window.h"
#include "platform/command_bus.h"
#include "platform/gtk/gtk_application.h"
#include "platform/gtk/gtk_dialogs.h"
#include "platform/gtk/gtk_main_window.h"
#include "platform/hid/backend_select.h"
#include "platform/settings/file_settings_store.h"
#include "platform/settings_store.h"
#include "resources/resources.h"
#include "toolkit/toolkit.h"

int main(int argc, char** argv) {
    prepareGtk("tovan");

    FileSettingsStore settings;
    setSettingsStore(&settings);
    std::unique_ptr<tovan::HidBackend> backend = tovan::createHidBackendFromEnvironment();
    if (!backend) return 2;

    std::unique_ptr<CWin32Panel> panel;
    std::unique_ptr<GtkDialogHost> dialogs;
    std::unique_ptr<GtkPopupMenus> popups;
    std::unique_ptr<GtkEditBoxes> editBoxes;

    GtkApplicationHooks hooks;
    hooks.start = [&] {
        toolkitStart();
        setProgramResources(&tovanProgramResources());
        panel = std::make_unique<CWin32Panel>(*backend, tovanFirmwareImage());
        // The dialogs stay above the window, so they exist before it is built.
        dialogs = std::make_unique<GtkDialogHost>();
        setDialogHost(dialogs.get());
        if (!panel->createMainWindow()) return false;
        GtkMainWindow& window = *panel->systemWindow();
        dialogs->setParent(&window);
        popups = std::make_unique<GtkPopupMenus>(window);
        editBoxes = std::make_unique<GtkEditBoxes>(window);
        setPopupMenuHost(popups.get());
        setEditBoxHost(editBoxes.get());
        adoptWindow(window);
        return true;
    };
    hooks.raise = [&] {
        if (panel) panel->raise();
    };
    hooks.open = [&](const std::vector<std::string>& paths) {
        if (panel) panel->openFiles(paths);
    };
    hooks.runCommand = [&](std::vector<std::string> arguments, std::string pedalPath,
                           std::function<void(CommandReply)> reply) {
        CCEditor* editor = panel ? panel->editor() : nullptr;
        if (editor == nullptr) {
            reply({{}, "tovan-cli: the editor is closing\n", 1});
            return;
        }
        // Between the editor's own operations: one running now (a question
        // open, say) finishes first.
        editor->whenIdle(
            [editor, arguments = std::move(arguments), pedalPath = std::move(pedalPath),
             reply = std::move(reply)] { reply(runCommandForCli(*editor, arguments, pedalPath)); });
    };

    const int status = runGtkApplication(tovan::bus::kEditorName, argc, argv, hooks);

    // Shut down in reverse: the window and editor, the services, the toolkit.
    setEditBoxHost(nullptr);
    setPopupMenuHost(nullptr);
    setDialogHost(nullptr);
    const bool started = panel != nullptr;
    panel.reset();
    editBoxes.reset();
    popups.reset();
    dialogs.reset();
    if (started) {
        setProgramResources(nullptr);
        toolkitStop();
    }
    setSettingsStore(nullptr);
    return status;
}
