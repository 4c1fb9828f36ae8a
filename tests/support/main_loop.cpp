#include "tests/support/main_loop.h"

#include <glibmm/main.h>
#include <gtk/gtk.h>

namespace vesko::test {

bool wait_until(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto context = Glib::MainContext::get_default();
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        // Wake at least every 10 ms so that the deadline is noticed.
        auto wake = Glib::signal_timeout().connect([] { return false; }, 10);
        context->iteration(true);
        wake.disconnect();
    }
    return true;
}

void run_loop_for(std::chrono::milliseconds duration)
{
    const auto deadline = std::chrono::steady_clock::now() + duration;
    wait_until([&] { return std::chrono::steady_clock::now() >= deadline; }, duration + std::chrono::seconds(1));
}

void flush_events()
{
    auto context = Glib::MainContext::get_default();
    for (int i = 0; i < 1000 && context->pending(); ++i)
        context->iteration(false);
}

void send_key(Gtk::Window& window, guint keyval, GdkModifierType state, bool queued)
{
    GdkWindow* gdk_window = gtk_widget_get_window(GTK_WIDGET(window.gobj()));
    GdkDisplay* display = gdk_window ? gdk_window_get_display(gdk_window) : gdk_display_get_default();
    GdkKeymapKey* keys = nullptr;
    gint n_keys = 0;
    guint16 keycode = 0;
    if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(display), keyval, &keys, &n_keys) && n_keys > 0)
        keycode = static_cast<guint16>(keys[0].keycode);
    g_free(keys);

    for (GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE}) {
        GdkEvent* event = gdk_event_new(type);
        event->key.window = gdk_window ? GDK_WINDOW(g_object_ref(gdk_window)) : nullptr;
        event->key.send_event = TRUE;
        event->key.time = GDK_CURRENT_TIME;
        event->key.state = state;
        event->key.keyval = keyval;
        event->key.hardware_keycode = keycode;
        event->key.length = 0;
        event->key.string = g_strdup("");
        GdkSeat* seat = gdk_display_get_default_seat(display);
        gdk_event_set_device(event, gdk_seat_get_keyboard(seat));
        // Through the main event dispatch, so that grabs (an open menu, a
        // modal dialog) see the key first, as with a real keyboard.
        if (queued)
            gdk_event_put(event);
        else
            gtk_main_do_event(event);
        gdk_event_free(event);
    }
}

void click_in_window(GdkWindow* target, double x, double y, bool release)
{
    GdkDisplay* display = gdk_window_get_display(target);
    GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(display));
    int origin_x = 0;
    int origin_y = 0;
    gdk_window_get_origin(target, &origin_x, &origin_y);
    for (GdkEventType type : {GDK_ENTER_NOTIFY, GDK_MOTION_NOTIFY, GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE}) {
        if (type == GDK_BUTTON_RELEASE && !release)
            break;
        GdkEvent* event = gdk_event_new(type);
        if (type == GDK_ENTER_NOTIFY) {
            event->crossing.window = GDK_WINDOW(g_object_ref(target));
            event->crossing.x = x;
            event->crossing.y = y;
            event->crossing.x_root = origin_x + x;
            event->crossing.y_root = origin_y + y;
            event->crossing.mode = GDK_CROSSING_NORMAL;
            event->crossing.detail = GDK_NOTIFY_ANCESTOR;
        } else if (type == GDK_MOTION_NOTIFY) {
            event->motion.window = GDK_WINDOW(g_object_ref(target));
            event->motion.time = GDK_CURRENT_TIME;
            event->motion.x = x;
            event->motion.y = y;
            event->motion.x_root = origin_x + x;
            event->motion.y_root = origin_y + y;
        } else {
            event->button.window = GDK_WINDOW(g_object_ref(target));
            event->button.time = GDK_CURRENT_TIME;
            event->button.x = x;
            event->button.y = y;
            event->button.x_root = origin_x + x;
            event->button.y_root = origin_y + y;
            event->button.button = 1;
            if (type == GDK_BUTTON_RELEASE)
                event->button.state = GDK_BUTTON1_MASK;
        }
        gdk_event_set_device(event, pointer);
        gtk_main_do_event(event);
        gdk_event_free(event);
    }
}

void hover(Gtk::Button& button, bool leave)
{
    GdkWindow* target = gtk_button_get_event_window(button.gobj());
    GdkEvent* event = gdk_event_new(leave ? GDK_LEAVE_NOTIFY : GDK_ENTER_NOTIFY);
    event->crossing.window = GDK_WINDOW(g_object_ref(target));
    event->crossing.x = button.get_allocated_width() / 2.0;
    event->crossing.y = button.get_allocated_height() / 2.0;
    event->crossing.mode = GDK_CROSSING_NORMAL;
    event->crossing.detail = GDK_NOTIFY_ANCESTOR;
    gdk_event_set_device(event, gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_window_get_display(target))));
    gtk_main_do_event(event);
    gdk_event_free(event);
}

void press_button(Gtk::Button& button, bool release)
{
    click_in_window(gtk_button_get_event_window(button.gobj()), button.get_allocated_width() / 2.0,
                    button.get_allocated_height() / 2.0, release);
}

bool show_and_wait(Gtk::Window& window)
{
    window.show();
    return wait_until([&] { return window.get_mapped() && window.get_allocated_width() > 1; });
}

} // namespace vesko::test
