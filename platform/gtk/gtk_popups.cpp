// Native pop-up menus and inline edit boxes over the editor's window.
#include <gtk/gtk.h>

#include "platform/gtk/gtk_dialogs.h"
#include "platform/gtk/gtk_main_window.h"
#include "platform/gtk/text_codec.h"

namespace {

struct MenuRun {
    GMainLoop* loop = nullptr;
    std::optional<int32_t> chosen;
};

void onItemActivated(GtkMenuItem* item, gpointer data) {
    auto* run = static_cast<MenuRun*>(data);
    run->chosen = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(item), "tovan-command"));
}

void onMenuDeactivated(GtkMenuShell*, gpointer data) {
    g_main_loop_quit(static_cast<MenuRun*>(data)->loop);
}

GtkWidget* buildMenu(const std::vector<PopupMenuItem>& items, MenuRun& run) {
    GtkWidget* menu = gtk_menu_new();
    for (const PopupMenuItem& entry : items) {
        GtkWidget* item = nullptr;
        if (entry.separator) {
            item = gtk_separator_menu_item_new();
        } else if (!entry.submenu.empty()) {
            item = gtk_menu_item_new_with_label(utf8FromToolkit(entry.text).c_str());
            gtk_menu_item_set_submenu(GTK_MENU_ITEM(item), buildMenu(entry.submenu, run));
        } else {
            // Every choice is a radio-looking check item, so the current one shows its mark.
            item = gtk_check_menu_item_new_with_label(utf8FromToolkit(entry.text).c_str());
            gtk_check_menu_item_set_draw_as_radio(GTK_CHECK_MENU_ITEM(item), TRUE);
            gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(item), entry.checked);
            g_object_set_data(G_OBJECT(item), "tovan-command", GINT_TO_POINTER(entry.command));
            g_signal_connect(item, "activate", G_CALLBACK(onItemActivated), &run);
        }
        gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
    }
    gtk_widget_show_all(menu);
    return menu;
}

// One open edit box: a GtkEntry laid over the field in the window's overlay.
class GtkEditBox : public NativeEditBox {
public:
    GtkEditBox(GtkMainWindow& window, const EditBoxRequest& request, EditBoxEvents& events)
        : events(events), entry(gtk_entry_new()) {
        g_object_ref_sink(entry);
        gtk_entry_set_text(GTK_ENTRY(entry), utf8FromToolkit(request.text).c_str());
        if (request.maxLength > 0) gtk_entry_set_max_length(GTK_ENTRY(entry), request.maxLength);
        gtk_entry_set_visibility(GTK_ENTRY(entry), request.password ? FALSE : TRUE);
        gtk_entry_set_alignment(GTK_ENTRY(entry), request.alignment == 2   ? 0.5f
                                                  : request.alignment == 1 ? 1.0f
                                                                           : 0.0f);
        gtk_entry_set_has_frame(GTK_ENTRY(entry), FALSE);
        gtk_entry_set_width_chars(GTK_ENTRY(entry), 1);
        const CCPoint at = window.screenToClient({request.x, request.y});
        gtk_widget_set_halign(entry, GTK_ALIGN_START);
        gtk_widget_set_valign(entry, GTK_ALIGN_START);
        gtk_widget_set_margin_start(entry, at.x);
        gtk_widget_set_margin_top(entry, at.y);
        gtk_widget_set_size_request(entry, request.width, request.height);
        gtk_overlay_add_overlay(GTK_OVERLAY(window.overlayWidget()), entry);
        g_signal_connect(entry, "activate", G_CALLBACK(onActivate), this);
        g_signal_connect(entry, "changed", G_CALLBACK(onChanged), this);
        g_signal_connect(entry, "key-press-event", G_CALLBACK(onKey), this);
        g_signal_connect(entry, "focus-out-event", G_CALLBACK(onFocusOut), this);
        gtk_widget_show(entry);
        gtk_widget_grab_focus(entry);
        gtk_editable_select_region(GTK_EDITABLE(entry), 0, -1);
    }
    ~GtkEditBox() override {
        g_signal_handlers_disconnect_by_data(entry, this);
        if (GtkWidget* parent = gtk_widget_get_parent(entry))
            gtk_container_remove(GTK_CONTAINER(parent), entry);
        g_object_unref(entry);
    }
    std::string text() const override { return toolkitFromUtf8(gtk_entry_get_text(GTK_ENTRY(entry))); }

private:
    // Each report may destroy this box: nothing of it is touched afterwards.
    static void onActivate(GtkEntry*, gpointer data) { static_cast<GtkEditBox*>(data)->events.editReturn(); }
    static void onChanged(GtkEditable*, gpointer data) {
        static_cast<GtkEditBox*>(data)->events.editChanged();
    }
    static gboolean onKey(GtkWidget*, GdkEventKey* event, gpointer data) {
        if (event->keyval != GDK_KEY_Escape) return FALSE;
        static_cast<GtkEditBox*>(data)->events.editEscape();
        return TRUE;
    }
    static gboolean onFocusOut(GtkWidget*, GdkEvent*, gpointer data) {
        static_cast<GtkEditBox*>(data)->events.editFocusLost();
        return FALSE;
    }

    EditBoxEvents& events;
    GtkWidget* entry;
};

} // namespace

std::optional<int32_t> GtkPopupMenus::trackPopupMenu(const std::vector<PopupMenuItem>& items, int32_t screenX,
                                                     int32_t screenY) {
    GdkWindow* target = gtk_widget_get_window(GTK_WIDGET(window.nativeWindow()));
    if (target == nullptr || items.empty()) return std::nullopt;
    MenuRun run;
    run.loop = g_main_loop_new(nullptr, FALSE);
    GtkWidget* menu = buildMenu(items, run);
    g_object_ref_sink(menu);
    g_signal_connect(menu, "deactivate", G_CALLBACK(onMenuDeactivated), &run);
    const CCPoint at = window.screenToClient({screenX, screenY});
    const GdkRectangle rect{at.x, at.y, 1, 1};
    gtk_menu_popup_at_rect(GTK_MENU(menu), target, &rect, GDK_GRAVITY_NORTH_WEST, GDK_GRAVITY_NORTH_WEST,
                           nullptr);
    if (gtk_widget_get_visible(menu)) g_main_loop_run(run.loop);
    // The chosen item's activation arrives after the menu's deactivation.
    while (gtk_events_pending())
        gtk_main_iteration_do(FALSE);
    g_signal_handlers_disconnect_by_data(menu, &run);
    gtk_widget_destroy(menu);
    g_object_unref(menu);
    g_main_loop_unref(run.loop);
    return run.chosen;
}

std::unique_ptr<NativeEditBox> GtkEditBoxes::openEditBox(const EditBoxRequest& request,
                                                         EditBoxEvents& events) {
    return std::make_unique<GtkEditBox>(window, request, events);
}
