#pragma once

#include <gtkmm/button.h>
#include <gtkmm/widget.h>
#include <gtkmm/window.h>

#include <chrono>
#include <functional>

namespace vesko::test {

// Runs the main loop until `done` holds or the time is up; true when it held.
bool wait_until(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Runs the main loop for a while, for things that must not happen.
void run_loop_for(std::chrono::milliseconds duration);

// Lets pending events (allocation, drawing) run.
void flush_events();

// Sends a key press and release to the window as the toolkit would deliver
// them from the keyboard: to the window first, then to the focused widget.
// Handled at once, or, when `queued`, put on the display's queue to reach the
// window only when the main loop next runs, as a real keyboard's would.
void send_key(Gtk::Window& window, guint keyval, GdkModifierType state = static_cast<GdkModifierType>(0),
              bool queued = false);

// Moves the pointer to (x, y) in the window and presses the left mouse button
// there (and releases it, when `release`), through the main event dispatch as
// the pointer would.
void click_in_window(GdkWindow* window, double x, double y, bool release = true);

// The pointer enters the button (and, with `leave`, leaves it again), through
// the main event dispatch.
void hover(Gtk::Button& button, bool leave = false);

// Presses the left mouse button on the button's middle (and releases it, when
// `release`), through the main event dispatch as the pointer would.
void press_button(Gtk::Button& button, bool release = true);

// Shows the window and waits until it is mapped and allocated.
bool show_and_wait(Gtk::Window& window);

} // namespace vesko::test
