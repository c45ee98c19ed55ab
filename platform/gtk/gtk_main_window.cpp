#include "platform/gtk/gtk_main_window.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <atomic>
#include <cstddef>
#include <cstring>
#include <map>
#include <mutex>
#include <span>
#include <utility>
#include <vector>

#include "platform/gtk/frame_log.h"
#include "platform/gtk/key_map.h"
#include "platform/gtk/shape_runs.h"
#include "platform/gtk/wheel_steps.h"
#include "platform/gtk/window_threads.h"

namespace {

// Timers from this id on repeat; the toolkit stops the others after they fire.
struct TimerRecord {
    GtkMainWindow::Impl* owner = nullptr;
    uint32_t id = 0;
    guint source = 0;
    bool firing = false;
    bool stopped = false;
};

CCPointerEvent pointerEvent(double x, double y, double rootX, double rootY, guint state) {
    CCPointerEvent e;
    e.x = static_cast<int32_t>(x);
    e.y = static_cast<int32_t>(y);
    e.screenX = static_cast<int32_t>(rootX);
    e.screenY = static_cast<int32_t>(rootY);
    e.shift = (state & GDK_SHIFT_MASK) != 0;
    e.control = (state & GDK_CONTROL_MASK) != 0;
    return e;
}

const char* cursorName(int32_t id) {
    switch (id) {
    case 300: // buttons
    case 306:
        return "pointer";
    case 302: // a knob dragged up and down
    case 305:
        return "ns-resize";
    case 303: // a knob turned round
        return "grab";
    case 304:
        return "ew-resize";
    default:
        return nullptr;
    }
}

} // namespace

struct GtkMainWindow::Impl {
    GtkWidget* window = nullptr;
    GtkWidget* overlay = nullptr;
    GtkWidget* area = nullptr;
    cairo_surface_t* surface = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    CCWindowClient* client = nullptr;
    std::function<void()> onClose;

    // Presents asked while the window cannot draw at once, and the idle
    // callback that copies them; work from other threads passes the gate.
    std::unique_ptr<PresentQueue> presents;
    UiWorkGate workGate;
    guint closeSource = 0;

    std::map<uint32_t, std::unique_ptr<TimerRecord>> timers;
    GdkEvent* lastPress = nullptr; // the press a grab or a move starts from
    GdkCursor* blank = nullptr;
    std::map<int32_t, GdkCursor*> cursors;
    int32_t shape = 0;
    bool cursorHidden = false;
    bool grabbed = false;
    bool iconified = false;
    WheelSteps wheel;
    std::vector<CCRect> outline;

    // Only with TOVAN_FRAME_LOG set: what the window drew and why.
    std::unique_ptr<FrameLog> frameLog;
    FrameLog::Cause queuedCause{FrameLog::Cause::Kind::Exposure, 0}; // of the draws flush() queued
    FrameLog::Cause paintCause;                                      // of the draw GTK is painting
    bool painted = false;                                            // a draw since the last after-paint
    GdkFrameClock* frameClock = nullptr;
    gulong afterPaint = 0;
    guint clockSource = 0;
    guint shownSource = 0; // tells the client the window is on screen
    bool appeared = false; // on screen once (letWindowAppear has nothing to do)

    GdkWindow* gdkWindow() const { return area != nullptr ? gtk_widget_get_window(area) : nullptr; }
    GdkDevice* pointer() const {
        GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
        return seat != nullptr ? gdk_seat_get_pointer(seat) : nullptr;
    }

    // Copies what the toolkit composed for the pending rectangles into the
    // window's surface and asks GTK to draw them: from the idle callback, or
    // now (the callback still waiting then finds nothing).
    void flush(bool fromCallback) {
        const std::vector<CCRect> rects = fromCallback ? presents->takeInCallback() : presents->takeNow();
        if (frameLog && !rects.empty()) queuedCause = frameLog->current;
        // Straight to the screen when it is there, as on the GTK thread, and
        // the whole burst as one frame (a fade pass changes many objects): a
        // redraw queued with GTK runs its frame clock, and while that ticks
        // GDK holds pointer motion back until the next frame (up to 17 ms more
        // for a drag during a fade).
        if (rects.empty() || drawNow(rects)) return;
        for (const CCRect& asked : rects) {
            const CCRect r = copyIn(asked);
            if (!r.isEmpty() && area != nullptr)
                gtk_widget_queue_draw_area(area, r.left, r.top, r.width(), r.height());
        }
    }

    // Copies what the toolkit composed for a rectangle into the window's
    // surface; answers the part copied (empty when nothing was).
    CCRect copyIn(CCRect asked) {
        const CCRect r = asked.intersected({0, 0, width, height});
        if (client == nullptr || surface == nullptr || r.isEmpty()) return {};
        cairo_surface_flush(surface);
        uint8_t* data = cairo_image_surface_get_data(surface);
        const int32_t stride = cairo_image_surface_get_stride(surface);
        if (!client->copyComposed(r, data + r.top * stride + r.left * 4, stride)) return {};
        cairo_surface_mark_dirty_rectangle(surface, r.left, r.top, r.width(), r.height());
        return r;
    }

    // Copies and draws rectangles straight to the screen, as one frame; false
    // when the window is not on screen yet.
    bool drawNow(CCRect asked) { return drawNow(std::span<const CCRect>(&asked, 1)); }
    bool drawNow(std::span<const CCRect> asked) {
        GdkWindow* w = gdkWindow();
        if (w == nullptr || client == nullptr || !gdk_window_is_viewable(w)) return false;
        cairo_region_t* region = cairo_region_create();
        for (const CCRect& rect : asked) {
            const CCRect r = copyIn(rect);
            if (r.isEmpty()) continue;
            const cairo_rectangle_int_t area{r.left, r.top, r.width(), r.height()};
            cairo_region_union_rectangle(region, &area);
        }
        if (cairo_region_is_empty(region)) {
            cairo_region_destroy(region);
            return true;
        }
        GdkDrawingContext* frame = gdk_window_begin_draw_frame(w, region);
        cairo_t* cr = gdk_drawing_context_get_cairo_context(frame);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr, surface, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
        gdk_cairo_region(cr, region);
        cairo_fill(cr);
        gdk_window_end_draw_frame(w, frame);
        cairo_region_destroy(region);
        gdk_display_flush(gdk_window_get_display(w));
        if (frameLog) frameShown(frameLog->current);
        return true;
    }

    // Logs a frame once the X server has processed its drawing.
    void frameShown(FrameLog::Cause cause) {
        gdk_display_sync(gdk_display_get_default());
        frameLog->frame(FrameLog::nowUs(), cause);
    }

    // The X server's time against the monotonic clock, so event times can be
    // put on it. The server counts whole milliseconds, so one reading is up to
    // a millisecond off: the server's time is read by round trips until it
    // ticks over, and the tick is placed between the two reads around it.
    void logClock() {
        GdkWindow* top = window != nullptr ? gtk_widget_get_window(window) : nullptr;
        if (top == nullptr || !GDK_IS_X11_WINDOW(top)) return;
        int64_t askedBefore = FrameLog::nowUs();
        const int64_t giveUp = askedBefore + 20000;
        uint32_t server = gdk_x11_get_server_time(top);
        while (askedBefore < giveUp) {
            const int64_t asked = FrameLog::nowUs();
            const uint32_t now = gdk_x11_get_server_time(top);
            const int64_t answered = FrameLog::nowUs();
            if (now != server) {
                frameLog->clock((askedBefore + answered) / 2, now);
                return;
            }
            askedBefore = asked;
        }
        frameLog->clock(askedBefore, server);
    }

    // The cause for frames drawn while handling an input event (logged here).
    FrameLog::Cause inputCause(const char* kind, guint32 serverTime) {
        if (!frameLog) return {};
        const int64_t received = FrameLog::nowUs();
        if (!frameLog->hasClock()) logClock();
        return {FrameLog::Cause::Kind::Input, frameLog->input(kind, received, serverTime)};
    }

    void applyCursor() {
        GdkWindow* w = gdkWindow();
        if (w == nullptr) return;
        if (cursorHidden) {
            gdk_window_set_cursor(w, blank);
            return;
        }
        GdkCursor* cursor = nullptr;
        if (const char* name = cursorName(shape)) {
            auto it = cursors.find(shape);
            if (it == cursors.end())
                it = cursors.emplace(shape, gdk_cursor_new_from_name(gdk_display_get_default(), name)).first;
            cursor = it->second;
        }
        gdk_window_set_cursor(w, cursor);
    }

    void sendWheel(const CCPointerEvent& at, int32_t notches) {
        if (client == nullptr) return;
        // One message a notch: the controls step once a message.
        CCPointerEvent e = at;
        e.wheelDelta = notches > 0 ? WheelSteps::kNotch : -WheelSteps::kNotch;
        for (int32_t i = 0; i < (notches > 0 ? notches : -notches); ++i)
            client->wheelTurned(e);
    }
};

namespace {

using Impl = GtkMainWindow::Impl;

gboolean onDraw(GtkWidget*, cairo_t* cr, gpointer data) {
    auto* impl = static_cast<Impl*>(data);
    if (impl->surface == nullptr) return TRUE;
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, impl->surface, 0, 0);
    // On a scaled screen the pixels are drawn larger: smoothly.
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    if (impl->frameLog) {
        impl->paintCause = impl->queuedCause;
        impl->queuedCause = {FrameLog::Cause::Kind::Exposure, 0};
        impl->painted = true;
    }
    return TRUE;
}

// GTK has copied the painted frame to the window (only with a frame log).
void onAfterPaint(GdkFrameClock*, gpointer data) {
    auto* impl = static_cast<Impl*>(data);
    if (!impl->painted) return;
    impl->painted = false;
    impl->frameShown(impl->paintCause);
}

gboolean onLogClock(gpointer data) {
    auto* impl = static_cast<Impl*>(data);
    impl->clockSource = 0;
    if (!impl->frameLog->hasClock()) impl->logClock();
    return G_SOURCE_REMOVE;
}

void onAreaRealize(GtkWidget* area, gpointer data) {
    auto* impl = static_cast<Impl*>(data);
    if (!impl->frameLog || impl->frameClock != nullptr) return;
    impl->frameClock = gtk_widget_get_frame_clock(area);
    if (impl->frameClock != nullptr)
        impl->afterPaint = g_signal_connect(impl->frameClock, "after-paint", G_CALLBACK(onAfterPaint), impl);
    // Once the window is up and the loop idle, so the start is not delayed.
    impl->clockSource = g_idle_add_full(G_PRIORITY_LOW, onLogClock, impl, nullptr);
}

gboolean onButtonPress(GtkWidget*, GdkEventButton* event, gpointer data) {
    auto* impl = static_cast<Impl*>(data);
    if (impl->client == nullptr) return TRUE;
    const FrameCauseScope cause(impl->frameLog.get(), impl->inputCause("press", event->time));
    if (impl->lastPress != nullptr) gdk_event_free(impl->lastPress);
    impl->lastPress = gdk_event_copy(reinterpret_cast<GdkEvent*>(event));
    const CCPointerEvent e = pointerEvent(event->x, event->y, event->x_root, event->y_root, event->state);
    const bool twice = event->type == GDK_2BUTTON_PRESS;
    if (event->type != GDK_BUTTON_PRESS && !twice) return TRUE;
    if (event->button == 1) {
        if (twice)
            impl->client->leftDoubleClicked(e);
        else
            impl->client->leftPressed(e);
    } else if (event->button == 3) {
        if (twice)
            impl->client->rightDoubleClicked(e);
        else
            impl->client->rightPressed(e);
    }
    return TRUE;
}

gboolean onButtonRelease(GtkWidget*, GdkEventButton* event, gpointer data) {
    auto* impl = static_cast<Impl*>(data);
    if (impl->client == nullptr) return TRUE;
    const FrameCauseScope cause(impl->frameLog.get(), impl->inputCause("release", event->time));
    const CCPointerEvent e = pointerEvent(event->x, event->y, event->x_root, event->y_root, event->state);
    if (event->button == 1) impl->client->leftReleased(e);
    if (event->button == 3) impl->client->rightReleased(e);
    return TRUE;
}

gboolean onMotion(GtkWidget*, GdkEventMotion* event, gpointer data) {
    auto* impl = static_cast<Impl*>(data);
    const FrameCauseScope cause(impl->frameLog.get(), impl->inputCause("motion", event->time));
    if (impl->client != nullptr)
        impl->client->pointerMoved(
            pointerEvent(event->x, event->y, event->x_root, event->y_root, event->state));
    return TRUE;
}

gboolean onScroll(GtkWidget*, GdkEventScroll* event, gpointer data) {
    auto* impl = static_cast<Impl*>(data);
    const FrameCauseScope cause(impl->frameLog.get(), impl->inputCause("scroll", event->time));
    const CCPointerEvent e = pointerEvent(event->x, event->y, event->x_root, event->y_root, event->state);
    switch (event->direction) {
    case GDK_SCROLL_UP:
        impl->sendWheel(e, 1);
        break;
    case GDK_SCROLL_DOWN:
        impl->sendWheel(e, -1);
        break;
    case GDK_SCROLL_SMOOTH:
        if (const int32_t notches = impl->wheel.addSmooth(event->delta_y)) impl->sendWheel(e, notches);
        break;
    default:
        break;
    }
    return TRUE;
}

gboolean onKeyPress(GtkWidget* window, GdkEventKey* event, gpointer data) {
    auto* impl = static_cast<Impl*>(data);
    // An edit box being typed in gets its keys first.
    if (GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window)); focus != nullptr && GTK_IS_ENTRY(focus))
        return FALSE;
    const int32_t key = virtualKeyForKeyval(event->keyval);
    const FrameCauseScope cause(impl->frameLog.get(), impl->inputCause("key", event->time));
    if (key != 0 && impl->client != nullptr) impl->client->keyPressed(key);
    return key != 0;
}

gboolean onKeyRelease(GtkWidget* window, GdkEventKey* event, gpointer data) {
    auto* impl = static_cast<Impl*>(data);
    if (GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window)); focus != nullptr && GTK_IS_ENTRY(focus))
        return FALSE;
    const int32_t key = virtualKeyForKeyval(event->keyval);
    if (key != 0 && impl->client != nullptr) impl->client->keyReleased(key);
    return key != 0;
}

gboolean onFocusOut(GtkWidget*, GdkEvent*, gpointer data) {
    auto* impl = static_cast<Impl*>(data);
    if (impl->client != nullptr) impl->client->focusLost();
    return FALSE;
}

void endGrab(Impl* impl) {
    if (!impl->grabbed) return;
    impl->grabbed = false;
    if (impl->client != nullptr) impl->client->captureLost();
}

gboolean onGrabBroken(GtkWidget*, GdkEvent*, gpointer data) {
    endGrab(static_cast<Impl*>(data));
    return FALSE;
}

gboolean onShown(gpointer data) {
    auto* impl = static_cast<Impl*>(data);
    impl->shownSource = 0;
    if (impl->client != nullptr) impl->client->windowShown();
    return G_SOURCE_REMOVE;
}

// Mapped is not yet on screen: GTK still applies the shape and draws the first
// frame. The client hears of it once the loop has nothing more to do.
gboolean onMap(GtkWidget*, GdkEvent*, gpointer data) {
    auto* impl = static_cast<Impl*>(data);
    if (impl->shownSource == 0) impl->shownSource = g_idle_add_full(G_PRIORITY_LOW, onShown, impl, nullptr);
    return FALSE;
}

gboolean onUnmap(GtkWidget*, GdkEvent*, gpointer data) {
    endGrab(static_cast<Impl*>(data));
    return FALSE;
}

gboolean onWindowState(GtkWidget*, GdkEventWindowState* event, gpointer data) {
    static_cast<Impl*>(data)->iconified = (event->new_window_state & GDK_WINDOW_STATE_ICONIFIED) != 0;
    return FALSE;
}

// The window has one size. A window manager honours the size hints; without one
// a client may resize the window directly, so it is put back at once.
gboolean onConfigure(GtkWidget* window, GdkEventConfigure* event, gpointer data) {
    auto* impl = static_cast<Impl*>(data);
    if (event->width != impl->width || event->height != impl->height) {
        if (GdkWindow* w = gtk_widget_get_window(window)) gdk_window_resize(w, impl->width, impl->height);
    }
    return FALSE;
}

gboolean onDelete(GtkWidget*, GdkEvent*, gpointer data) {
    auto* impl = static_cast<Impl*>(data);
    if (impl->client != nullptr && !impl->client->closeRequested()) return TRUE;
    if (impl->onClose)
        impl->onClose();
    else
        gtk_widget_hide(impl->window);
    return TRUE;
}

void onDragReceived(GtkWidget*, GdkDragContext* context, gint, gint, GtkSelectionData* selection, guint,
                    guint time, gpointer data) {
    auto* impl = static_cast<Impl*>(data);
    std::vector<std::string> paths;
    if (gchar** uris = gtk_selection_data_get_uris(selection)) {
        for (gchar** uri = uris; *uri != nullptr; ++uri)
            if (gchar* path = g_filename_from_uri(*uri, nullptr, nullptr)) {
                paths.emplace_back(path);
                g_free(path);
            }
        g_strfreev(uris);
    }
    gtk_drag_finish(context, !paths.empty(), FALSE, time);
    if (!paths.empty() && impl->client != nullptr) impl->client->filesDropped(paths);
}

gboolean onTimer(gpointer data) {
    auto* record = static_cast<TimerRecord*>(data);
    Impl* impl = record->owner;
    const uint32_t id = record->id;
    record->firing = true;
    {
        const FrameCauseScope cause(impl->frameLog.get(), {FrameLog::Cause::Kind::Timer, id});
        if (impl->client != nullptr) impl->client->timerFired(id);
    }
    record->firing = false;
    if (!record->stopped) return G_SOURCE_CONTINUE;
    // Stopped from inside its own expiry: the source ends by returning.
    auto it = impl->timers.find(id);
    if (it != impl->timers.end() && it->second.get() == record) impl->timers.erase(it);
    return G_SOURCE_REMOVE;
}

gboolean onFlush(gpointer data) {
    auto* impl = static_cast<Impl*>(data);
    const FrameCauseScope cause(impl->frameLog.get(), {FrameLog::Cause::Kind::Idle, 0});
    impl->flush(true);
    return G_SOURCE_REMOVE;
}

// Work from other threads. The window is reached only through the gate's
// pass: once the window has gone, the work is dropped.
struct UiWork {
    UiWorkGate::Pass pass;
    Impl* impl; // only while the pass is open
    std::function<void()> work;
};

gboolean onRunWork(gpointer data) {
    auto* item = static_cast<UiWork*>(data);
    if (!item->pass.isOpen()) return G_SOURCE_REMOVE;
    // The cause is put back only while the window is there: the work may close it.
    FrameLog* log = item->impl->frameLog.get();
    FrameLog::Cause previous;
    if (log != nullptr) previous = std::exchange(log->current, {FrameLog::Cause::Kind::Idle, 0});
    item->pass.run(item->work);
    if (log != nullptr && item->pass.isOpen()) log->current = previous;
    return G_SOURCE_REMOVE;
}

void freeWork(gpointer data) {
    delete static_cast<UiWork*>(data);
}

gboolean onCloseLater(gpointer data) {
    auto* impl = static_cast<Impl*>(data);
    impl->closeSource = 0;
    if (impl->onClose)
        impl->onClose();
    else if (impl->window != nullptr)
        gtk_widget_hide(impl->window);
    return G_SOURCE_REMOVE;
}

} // namespace

GtkMainWindow::GtkMainWindow(int32_t width, int32_t height, std::string_view title)
    : impl(std::make_unique<Impl>()) {
    impl->width = width;
    impl->height = height;
    impl->frameLog = FrameLog::fromEnvironment();
    impl->surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    Impl* owner = impl.get();
    impl->presents = std::make_unique<PresentQueue>([owner] { return g_idle_add(onFlush, owner); },
                                                    [](unsigned source) { g_source_remove(source); });

    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    impl->window = window;
    const std::string name(title);
    gtk_window_set_title(GTK_WINDOW(window), name.c_str());
    gtk_window_set_decorated(GTK_WINDOW(window), FALSE);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    gtk_widget_set_app_paintable(window, TRUE);
    // The size is fixed: the window manager is told so, and no request changes it.
    GdkGeometry hints{};
    hints.min_width = hints.max_width = width;
    hints.min_height = hints.max_height = height;
    gtk_window_set_geometry_hints(GTK_WINDOW(window), nullptr, &hints,
                                  static_cast<GdkWindowHints>(GDK_HINT_MIN_SIZE | GDK_HINT_MAX_SIZE));
    gtk_window_set_default_size(GTK_WINDOW(window), width, height);

    impl->overlay = gtk_overlay_new();
    impl->area = gtk_drawing_area_new();
    gtk_widget_set_size_request(impl->area, width, height);
    gtk_widget_add_events(impl->area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                          GDK_POINTER_MOTION_MASK | GDK_SCROLL_MASK | GDK_SMOOTH_SCROLL_MASK);
    gtk_container_add(GTK_CONTAINER(impl->overlay), impl->area);
    gtk_container_add(GTK_CONTAINER(window), impl->overlay);
    gtk_widget_add_events(window, GDK_FOCUS_CHANGE_MASK | GDK_KEY_PRESS_MASK | GDK_KEY_RELEASE_MASK);

    Impl* p = impl.get();
    g_signal_connect(impl->area, "draw", G_CALLBACK(onDraw), p);
    if (impl->frameLog) g_signal_connect(impl->area, "realize", G_CALLBACK(onAreaRealize), p);
    g_signal_connect(impl->area, "button-press-event", G_CALLBACK(onButtonPress), p);
    g_signal_connect(impl->area, "button-release-event", G_CALLBACK(onButtonRelease), p);
    g_signal_connect(impl->area, "motion-notify-event", G_CALLBACK(onMotion), p);
    g_signal_connect(impl->area, "scroll-event", G_CALLBACK(onScroll), p);
    g_signal_connect(impl->area, "grab-broken-event", G_CALLBACK(onGrabBroken), p);
    g_signal_connect(window, "key-press-event", G_CALLBACK(onKeyPress), p);
    g_signal_connect(window, "key-release-event", G_CALLBACK(onKeyRelease), p);
    g_signal_connect(window, "focus-out-event", G_CALLBACK(onFocusOut), p);
    g_signal_connect(window, "map-event", G_CALLBACK(onMap), p);
    g_signal_connect(window, "unmap-event", G_CALLBACK(onUnmap), p);
    g_signal_connect(window, "window-state-event", G_CALLBACK(onWindowState), p);
    g_signal_connect(window, "delete-event", G_CALLBACK(onDelete), p);
    g_signal_connect(window, "configure-event", G_CALLBACK(onConfigure), p);

    static GtkTargetEntry uriTarget{const_cast<gchar*>("text/uri-list"), 0, 0};
    gtk_drag_dest_set(impl->area, GTK_DEST_DEFAULT_ALL, &uriTarget, 1, GDK_ACTION_COPY);
    g_signal_connect(impl->area, "drag-data-received", G_CALLBACK(onDragReceived), p);

    impl->blank = gdk_cursor_new_for_display(gdk_display_get_default(), GDK_BLANK_CURSOR);
}

GtkMainWindow::~GtkMainWindow() {
    for (auto& [id, record] : impl->timers)
        if (!record->firing) g_source_remove(record->source);
    impl->timers.clear();
    impl->presents->close();
    impl->workGate.close();
    if (impl->closeSource != 0) g_source_remove(impl->closeSource);
    if (impl->lastPress != nullptr) gdk_event_free(impl->lastPress);
    for (auto& [id, cursor] : impl->cursors)
        if (cursor != nullptr) g_object_unref(cursor);
    if (impl->blank != nullptr) g_object_unref(impl->blank);
    impl->client = nullptr;
    if (impl->afterPaint != 0) g_signal_handler_disconnect(impl->frameClock, impl->afterPaint);
    if (impl->clockSource != 0) g_source_remove(impl->clockSource);
    if (impl->shownSource != 0) g_source_remove(impl->shownSource);
    if (impl->window != nullptr) gtk_widget_destroy(impl->window);
    cairo_surface_destroy(impl->surface);
}

void GtkMainWindow::setClient(CCWindowClient* client) {
    impl->client = client;
}

void GtkMainWindow::setCloseHandler(std::function<void()> handler) {
    impl->onClose = std::move(handler);
}

void GtkMainWindow::updateShape() {
    // The whole frame, composed now, so the outline is the one on screen.
    impl->presents->push({0, 0, impl->width, impl->height});
    impl->flush(false);
    cairo_surface_flush(impl->surface);
    std::vector<CCRect> runs = outlineRuns(cairo_image_surface_get_data(impl->surface), impl->width,
                                           impl->height, cairo_image_surface_get_stride(impl->surface));
    if (runs == impl->outline) return;
    impl->outline = runs;
    std::vector<cairo_rectangle_int_t> rects;
    rects.reserve(runs.size());
    for (const CCRect& r : runs)
        rects.push_back({r.left, r.top, r.width(), r.height()});
    cairo_region_t* region = cairo_region_create_rectangles(rects.data(), static_cast<int>(rects.size()));
    gtk_widget_shape_combine_region(impl->window, region);
    cairo_region_destroy(region);
}

void GtkMainWindow::show() {
    gtk_widget_show_all(impl->window);
}

void GtkMainWindow::present() {
    gtk_window_deiconify(GTK_WINDOW(impl->window));
    gtk_window_present(GTK_WINDOW(impl->window));
}

void GtkMainWindow::hide() {
    gtk_widget_hide(impl->window);
}

void GtkMainWindow::moveTo(CCPoint topLeft) {
    gtk_window_move(GTK_WINDOW(impl->window), topLeft.x, topLeft.y);
}

CCPoint GtkMainWindow::position() const {
    gint x = 0, y = 0;
    gtk_window_get_position(GTK_WINDOW(impl->window), &x, &y);
    return {x, y};
}

CCRect GtkMainWindow::workArea() const {
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = nullptr;
    if (GdkWindow* w = gtk_widget_get_window(impl->window))
        monitor = gdk_display_get_monitor_at_window(display, w);
    if (monitor == nullptr) monitor = gdk_display_get_primary_monitor(display);
    if (monitor == nullptr) monitor = gdk_display_get_monitor(display, 0);
    if (monitor == nullptr) return {0, 0, 1024, 768};
    GdkRectangle area{};
    gdk_monitor_get_workarea(monitor, &area);
    return {area.x, area.y, area.x + area.width, area.y + area.height};
}

bool GtkMainWindow::isForeground() const {
    return gtk_window_is_active(GTK_WINDOW(impl->window));
}

bool GtkMainWindow::isIconified() const {
    return impl->iconified;
}

void GtkMainWindow::requestPresent(CCRect rect) {
    // On the GTK thread with the window on screen the pixels go out at once: a
    // drag shows without waiting for the loop, and so does the progress of a
    // backup that keeps the loop busy. From other threads they wait for it.
    if (g_main_context_is_owner(g_main_context_default()) && impl->drawNow(rect)) return;
    // One idle a burst: presents asked while one waits join it.
    impl->presents->push(rect);
}

namespace {

// What the windowing system says about the window itself: mapping, size,
// exposure and state. Handling these calls nothing of the client.
bool aboutTheWindow(GdkEventType type) {
    switch (type) {
    case GDK_MAP:
    case GDK_UNMAP:
    case GDK_CONFIGURE:
    case GDK_EXPOSE:
    case GDK_DAMAGE:
    case GDK_WINDOW_STATE:
    case GDK_VISIBILITY_NOTIFY:
    case GDK_PROPERTY_NOTIFY:
        return true;
    default:
        return false;
    }
}

} // namespace

void GtkMainWindow::letWindowAppear() {
    if (impl->appeared || !g_main_context_is_owner(g_main_context_default())) return;
    GdkWindow* w = impl->gdkWindow();
    if (w == nullptr) return; // not shown yet
    if (gdk_window_is_viewable(w)) {
        impl->appeared = true; // the loop showed it
        return;
    }
    // The loop is busy: take the display's events here. Those about the
    // window are handled now, so it maps; the rest (input, a close) go back
    // in order for the loop, as if they had come while it was busy.
    GdkDisplay* display = gdk_window_get_display(w);
    std::vector<GdkEvent*> later;
    while (GdkEvent* event = gdk_display_get_event(display)) {
        if (aboutTheWindow(event->type)) {
            gtk_main_do_event(event);
            gdk_event_free(event);
        } else {
            later.push_back(event);
        }
    }
    for (GdkEvent* event : later) {
        gdk_display_put_event(display, event);
        gdk_event_free(event);
    }
    if (!gdk_window_is_viewable(w)) return;
    impl->appeared = true;
    impl->drawNow({0, 0, impl->width, impl->height});
}

void GtkMainWindow::markReached(const char* what) {
    if (impl->frameLog) impl->frameLog->mark(FrameLog::nowUs(), what);
}

bool GtkMainWindow::startTimer(uint32_t id, uint32_t periodMs) {
    stopTimer(id);
    auto record = std::make_unique<TimerRecord>();
    record->owner = impl.get();
    record->id = id;
    record->source = g_timeout_add(periodMs, onTimer, record.get());
    impl->timers[id] = std::move(record);
    return true;
}

void GtkMainWindow::stopTimer(uint32_t id) {
    auto it = impl->timers.find(id);
    if (it == impl->timers.end()) return;
    if (it->second->firing) {
        it->second->stopped = true; // ends when its expiry returns
        return;
    }
    g_source_remove(it->second->source);
    impl->timers.erase(it);
}

void GtkMainWindow::setMouseCapture(bool on) {
    GdkWindow* w = impl->gdkWindow();
    GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
    if (w == nullptr || seat == nullptr) return;
    if (on && !impl->grabbed) {
        const GdkGrabStatus status = gdk_seat_grab(seat, w, GDK_SEAT_CAPABILITY_ALL_POINTING, FALSE, nullptr,
                                                   impl->lastPress, nullptr, nullptr);
        impl->grabbed = status == GDK_GRAB_SUCCESS;
    } else if (!on && impl->grabbed) {
        impl->grabbed = false;
        gdk_seat_ungrab(seat);
    }
}

void GtkMainWindow::setCursorVisible(bool visible) {
    impl->cursorHidden = !visible;
    impl->applyCursor();
}

bool GtkMainWindow::warpCursor(CCPoint screen) {
    GdkDevice* pointer = impl->pointer();
    if (pointer == nullptr) return false;
    gdk_device_warp(pointer, gdk_screen_get_default(), screen.x, screen.y);
    return true;
}

void GtkMainWindow::setCursorShape(int32_t id) {
    if (id == impl->shape) return;
    impl->shape = id;
    impl->applyCursor();
}

CCPoint GtkMainWindow::cursorScreenPosition() {
    gint x = 0, y = 0;
    if (GdkDevice* pointer = impl->pointer()) gdk_device_get_position(pointer, nullptr, &x, &y);
    return {x, y};
}

CCPoint GtkMainWindow::screenToClient(CCPoint screen) {
    gint x = 0, y = 0;
    if (GdkWindow* w = impl->gdkWindow()) gdk_window_get_origin(w, &x, &y);
    return {screen.x - x, screen.y - y};
}

CCPoint GtkMainWindow::clientToScreen(CCPoint client) {
    gint x = 0, y = 0;
    if (GdkWindow* w = impl->gdkWindow()) gdk_window_get_origin(w, &x, &y);
    return {client.x + x, client.y + y};
}

void GtkMainWindow::runOnUiThread(std::function<void()> work) {
    // Always through the loop: invoking would run it at once on the calling
    // thread whenever no thread was running the loop just then.
    g_idle_add_full(G_PRIORITY_DEFAULT, onRunWork,
                    new UiWork{impl->workGate.pass(), impl.get(), std::move(work)}, freeWork);
}

void GtkMainWindow::beginMove(CCPoint screen) {
    if (impl->lastPress == nullptr) return;
    const GdkEventButton& press = impl->lastPress->button;
    gtk_window_begin_move_drag(GTK_WINDOW(impl->window), static_cast<gint>(press.button), screen.x, screen.y,
                               press.time);
}

void GtkMainWindow::requestClose() {
    // Not from inside the editor's own message handling: on the next turn of the loop.
    if (impl->closeSource == 0) impl->closeSource = g_idle_add(onCloseLater, impl.get());
}

void GtkMainWindow::minimise() {
    gtk_window_iconify(GTK_WINDOW(impl->window));
}

void GtkMainWindow::setTopmost(bool on) {
    gtk_window_set_keep_above(GTK_WINDOW(impl->window), on ? TRUE : FALSE);
}

void GtkMainWindow::setCursorImage(int32_t id, const uint8_t* pixels, int32_t width, int32_t height,
                                   int32_t stride, CCPoint hotSpot) {
    if (pixels == nullptr || width <= 0 || height <= 0) return;
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_surface_flush(image);
    uint8_t* to = cairo_image_surface_get_data(image);
    const int32_t toStride = cairo_image_surface_get_stride(image);
    for (int32_t y = 0; y < height; ++y)
        std::memcpy(to + y * toStride, pixels + static_cast<ptrdiff_t>(y) * stride,
                    static_cast<size_t>(width) * 4);
    cairo_surface_mark_dirty(image);
    GdkCursor* cursor = gdk_cursor_new_from_surface(gdk_display_get_default(), image, hotSpot.x, hotSpot.y);
    cairo_surface_destroy(image);
    if (cursor == nullptr) return;
    auto it = impl->cursors.find(id);
    if (it != impl->cursors.end() && it->second != nullptr) g_object_unref(it->second);
    impl->cursors[id] = cursor;
    if (impl->shape == id) impl->applyCursor();
}

void GtkMainWindow::openFiles(const std::vector<std::string>& paths) {
    if (impl->client != nullptr && !paths.empty()) impl->client->filesDropped(paths);
}

void* GtkMainWindow::nativeWindow() const {
    return impl->window;
}

void* GtkMainWindow::overlayWidget() const {
    return impl->overlay;
}
