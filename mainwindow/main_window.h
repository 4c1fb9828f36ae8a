#pragma once

#include "browser/browser_pane.h"
#include "mainwindow/client_area.h"
#include "mainwindow/dialogs.h"
#include "mainwindow/main_menu.h"
#include "mainwindow/status_bar.h"
#include "mainwindow/toolbar.h"
#include "mainwindow/window_description.h"

#include <gtkmm/box.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/menubar.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/window.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vesko {

// The program's one window of its own. It is built hidden from the window
// description; start() then runs the Created handler and the Size-changed
// handler once and shows it. No handler runs before start(): events the pane
// raises while the window is being built are dropped.
class MainWindow : public Gtk::Window {
public:
    using PaneFactory = std::function<std::unique_ptr<BrowserPane>(const std::string& initial_address)>;

    // `dialogs` answers the Input dialog and the About box; the real GTK
    // dialogs when null.
    explicit MainWindow(const PaneFactory& create_pane,
                        std::string initial_address = std::string(description::initial_address),
                        std::unique_ptr<Dialogs> dialogs = nullptr);
    ~MainWindow() override;

    // Opens the handlers, runs Created and Size-changed, shows and activates.
    void start();

    // Asks for the window's end and returns at once; the window goes when the
    // loop next runs.
    void exit_command();

    bool handlers_enabled() const { return m_handlers_enabled; }

    BrowserPane& pane() { return *m_pane; }
    Gtk::Entry& address_box() { return m_address_box; }
    StatusBar& status_bar() { return m_status_bar; }
    Toolbar& toolbar() { return m_toolbar; }
    Gtk::MenuBar& menu_bar() { return m_menu_bar; }
    MainMenu& menu() { return *m_menu; }
    ClientArea& client_area() { return m_client; }

    // A control's rectangle in client coordinates, by its name.
    Gdk::Rectangle control_rect(std::string_view name);
    Gtk::Widget* control(std::string_view name);
    int client_width() const { return m_client.width(); }

    // Handlers, public so that tests can drive them as the toolkit would.
    void on_created();
    void on_size_changed();
    void on_address_box_char(int code);
    void on_toolbar_button_clicked(int index);
    void on_toolbar_dropdown_clicked(int index, int x, int y);
    void on_pane_command_state_change(int command, int enabled);

    // Runs what a menu item, a toolbar button or a key names.
    void run_action(const description::Action& action);
    // Checks the level's item in the Text size menu, unchecks the other four,
    // then hands the level to the pane.
    void set_text_size(int level);
    void open_in_new_window_command();
    void about_command();
    // Shows the submenu of the item with that caption as a popup at a screen point.
    void popup_menu(std::string_view caption, int x, int y);

private:
    void build_controls(const std::string& initial_address);
    void connect_pane_events();
    void centre_on_screen();
    bool on_key_press_after(GdkEventKey* event);
    bool on_address_box_key_press(GdkEventKey* event);
    bool on_configure(GdkEventConfigure* event);
    // The menu row of the Text size item of a level.
    static int text_size_row(int level);

    // Page events (status bar, Address box and caption).
    void on_pane_before_navigate();
    void on_pane_progress_change(int percent);
    void on_pane_status_text_change();
    void on_pane_document_complete();
    void on_pane_title_change();
    // The Address box and the caption change once per turn of the loop, with
    // the latest a page has reported, just before the window is next drawn:
    // a load reports Ready for every frame and may retitle itself many times,
    // and rewriting a text entry or a window title costs tens of
    // microseconds each time. Pending text is written at once when the user
    // presses a key or a button in the box, so that it never lands over what
    // was typed; text put into the box in any other way after Ready (a drop,
    // the program itself) is newer than the page's address and stays.
    void schedule_page_texts();
    void write_page_texts();

    // Connects a handler that runs only once the window has been built.
    template <class... Args, class Handler>
    sigc::slot<void(Args...)> gated(Handler handler)
    {
        return [this, handler](Args... args) {
            if (m_handlers_enabled)
                (this->*handler)(args...);
        };
    }

    bool m_handlers_enabled = false;
    bool m_outer_size_fitted = false;
    std::optional<std::string> m_pending_address;
    std::optional<std::string> m_pending_caption;
    bool m_writing_page_texts = false;
    sigc::connection m_page_texts_due;

    std::unique_ptr<Dialogs> m_dialogs;
    Gtk::Box m_layout{Gtk::ORIENTATION_VERTICAL, 0};
    Gtk::ScrolledWindow m_menu_holder; // lets the window be narrower than its menu bar
    Gtk::MenuBar m_menu_bar;
    std::unique_ptr<MainMenu> m_menu;
    ClientArea m_client;
    Toolbar m_toolbar;
    StatusBar m_status_bar;
    Gtk::Entry m_address_box;
    Gtk::Label m_address_label;
    Gtk::Label m_email_label;
    std::unique_ptr<BrowserPane> m_pane;
};

} // namespace vesko
