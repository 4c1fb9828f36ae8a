#include "mainwindow/main_window.h"

#include "mainwindow/resize_rule.h"
#include "mainwindow/style.h"

#include <gdk/gdkkeysyms.h>
#include <gdkmm/display.h>
#include <gdkmm/monitor.h>
#include <glibmm/main.h>

namespace vesko {

namespace {

Gdk::Rectangle rect_of(const description::Control& c)
{
    return Gdk::Rectangle(c.left, c.top, c.width, c.height);
}

} // namespace

MainWindow::MainWindow(const PaneFactory& create_pane, std::string initial_address, std::unique_ptr<Dialogs> dialogs)
    : m_dialogs(dialogs ? std::move(dialogs) : std::make_unique<GtkDialogs>())
{
    install_program_resources();

    set_title(std::string(description::window.caption));
    set_icon_name(std::string(description::window.icon_name));
    set_default_size(description::window.outer_width, description::window.outer_height);
    set_resizable(true);
    get_style_context()->add_class("vesko-main");

    m_menu = std::make_unique<MainMenu>(*this, m_menu_bar, [this](const description::Action& a) {
        if (m_handlers_enabled)
            run_action(a);
    });
    m_client.get_style_context()->add_class("vesko-client");
    m_menu_holder.set_policy(Gtk::POLICY_EXTERNAL, Gtk::POLICY_NEVER);
    m_menu_holder.set_shadow_type(Gtk::SHADOW_NONE);
    m_menu_holder.set_propagate_natural_width(true);
    m_menu_holder.set_propagate_natural_height(true);
    m_menu_holder.add(m_menu_bar);
    m_menu_holder.set_can_focus(false);
    m_layout.pack_start(m_menu_holder, Gtk::PACK_SHRINK);
    m_layout.pack_start(m_client, Gtk::PACK_EXPAND_WIDGET);
    add(m_layout);
    // Tab moves between the Address box and the pane only.
    m_layout.set_focus_chain({&m_client});

    m_pane = create_pane(initial_address);
    // Connected at once, but gated: whatever the pane reports while the window
    // is still being built reaches no handler.
    connect_pane_events();
    build_controls(initial_address);

    m_client.signal_docked().connect(gated<>(&MainWindow::on_size_changed));
    m_toolbar.signal_button_clicked().connect(gated<int>(&MainWindow::on_toolbar_button_clicked));
    m_toolbar.signal_dropdown_clicked().connect(gated<int, int, int>(&MainWindow::on_toolbar_dropdown_clicked));
    signal_key_press_event().connect(sigc::mem_fun(*this, &MainWindow::on_key_press_after), true);
    signal_configure_event().connect(sigc::mem_fun(*this, &MainWindow::on_configure), false);

    m_layout.show_all();
    m_menu->show_all_state(m_menu_bar);
    centre_on_screen();
}

MainWindow::~MainWindow()
{
    m_page_texts_due.disconnect();
}

void MainWindow::build_controls(const std::string& initial_address)
{
    // Created from the last row of the table to the first, each drawn over the
    // ones before it, so that the first row ends up topmost.
    for (auto it = description::controls.rbegin(); it != description::controls.rend(); ++it) {
        const description::Control& c = *it;
        Gtk::Widget* widget = nullptr;
        switch (c.kind) {
        case description::ControlKind::Toolbar:
            widget = &m_toolbar;
            break;
        case description::ControlKind::BrowserPane:
            widget = &m_pane->widget();
            break;
        case description::ControlKind::StatusBar:
            widget = &m_status_bar;
            break;
        case description::ControlKind::AddressBox:
            m_address_box.set_text(initial_address);
            m_address_box.get_style_context()->add_class("vesko-address");
            m_address_box.set_has_frame(true);
            m_address_box.set_activates_default(false);
            m_address_box.signal_key_press_event().connect(
                sigc::mem_fun(*this, &MainWindow::on_address_box_key_press), false);
            m_address_box.signal_changed().connect([this] {
                if (!m_writing_page_texts)
                    m_pending_address.reset();
            });
            m_address_box.signal_button_press_event().connect(
                [this](GdkEventButton*) {
                    write_page_texts();
                    return false;
                },
                false);
            widget = &m_address_box;
            break;
        case description::ControlKind::Label: {
            Gtk::Label& label = c.name == description::address_label_name ? m_address_label : m_email_label;
            label.set_text(std::string(c.text));
            label.set_xalign(0.0f);
            label.set_yalign(0.5f);
            label.set_single_line_mode(true);
            label.get_style_context()->add_class("vesko-label");
            widget = &label;
            break;
        }
        }
        widget->set_name(std::string(c.name));
        widget->set_can_focus(c.tab_stop);
        m_client.put(*widget, c.dock, rect_of(c));
    }
    m_client.set_focus_chain({&m_address_box, &m_pane->widget()});
}

void MainWindow::connect_pane_events()
{
    BrowserPane& p = *m_pane;
    p.signal_before_navigate().connect(gated<>(&MainWindow::on_pane_before_navigate));
    p.signal_progress_change().connect(gated<int>(&MainWindow::on_pane_progress_change));
    p.signal_status_text_change().connect(gated<>(&MainWindow::on_pane_status_text_change));
    p.signal_document_complete().connect(gated<>(&MainWindow::on_pane_document_complete));
    p.signal_title_change().connect(gated<>(&MainWindow::on_pane_title_change));
    p.signal_command_state_change().connect(gated<int, int>(&MainWindow::on_pane_command_state_change));
}

void MainWindow::centre_on_screen()
{
    auto display = Gdk::Display::get_default();
    Glib::RefPtr<Gdk::Monitor> monitor = display ? display->get_primary_monitor() : Glib::RefPtr<Gdk::Monitor>();
    if (!monitor && display)
        monitor = display->get_monitor(0);
    if (!monitor)
        return;
    Gdk::Rectangle screen;
    monitor->get_geometry(screen);
    move(screen.get_x() + (screen.get_width() - description::window.outer_width) / 2,
         screen.get_y() + (screen.get_height() - description::window.outer_height) / 2);
}

void MainWindow::start()
{
    if (m_handlers_enabled)
        return;
    m_handlers_enabled = true;
    on_created();

    // Before the first allocation, dock the bars for the window's first size so
    // that the Size-changed handler sees the layout the user will see.
    int menu_min = 0;
    int menu_nat = 0;
    m_menu_bar.get_preferred_height(menu_min, menu_nat);
    m_client.dock(description::window.outer_width, description::window.outer_height - menu_nat);
    on_size_changed();

    show();
    present();
}

void MainWindow::exit_command()
{
    // Tracked by the window: nothing runs if it has gone in the meantime.
    Glib::signal_idle().connect_once(sigc::mem_fun(*this, &MainWindow::hide));
}

Gtk::Widget* MainWindow::control(std::string_view name)
{
    if (name == description::email_label_name)
        return &m_email_label;
    if (name == description::address_label_name)
        return &m_address_label;
    if (name == description::address_box_name)
        return &m_address_box;
    if (name == description::status_bar_name)
        return &m_status_bar;
    if (name == description::browser_pane_name)
        return &m_pane->widget();
    if (name == description::toolbar_name)
        return &m_toolbar;
    return nullptr;
}

Gdk::Rectangle MainWindow::control_rect(std::string_view name)
{
    Gtk::Widget* w = control(name);
    return w ? m_client.child_rect(*w) : Gdk::Rectangle();
}

// --- handlers ----------------------------------------------------------------

void MainWindow::on_created()
{
    m_address_box.grab_focus();
    // Keep the caret at the start with nothing selected, as the box is first seen.
    m_address_box.select_region(0, 0);
    m_address_box.set_position(0);
    m_pane->set_offline(false);
}

void MainWindow::on_size_changed()
{
    Gtk::Widget& pane_widget = m_pane->widget();
    const Gdk::Rectangle pane = m_client.child_rect(pane_widget);
    const Gdk::Rectangle box = m_client.child_rect(m_address_box);
    const Gdk::Rectangle bar = m_client.child_rect(m_status_bar);
    const ResizeResult r = resize_rule(m_client.width(), bar.get_y(), pane.get_y(), box.get_x());
    m_client.set_child_size(pane_widget, r.pane_width, r.pane_height);
    m_client.set_child_size(m_address_box, r.address_box_width, box.get_height());
}

bool MainWindow::on_address_box_key_press(GdkEventKey* event)
{
    write_page_texts(); // what the page last reported comes before the key
    if (m_handlers_enabled && (event->keyval == GDK_KEY_Return || event->keyval == GDK_KEY_KP_Enter ||
                               event->keyval == GDK_KEY_ISO_Enter))
        on_address_box_char(13);
    return false; // the box goes on with the key as usual
}

bool MainWindow::on_key_press_after(GdkEventKey* event)
{
    // Reached only by keys that the menus and the focused control left alone.
    constexpr guint modifiers = GDK_SHIFT_MASK | GDK_CONTROL_MASK | GDK_MOD1_MASK;
    if (event->keyval == GDK_KEY_Escape && (event->state & modifiers) == 0) {
        close();
        return true;
    }
    return false;
}

bool MainWindow::on_configure(GdkEventConfigure*)
{
    // The window was given its outer size as its own size; once a window
    // manager's frame is known (it may come a few configures after the
    // window is mapped), take the frame off so that the whole stays 649 x 447,
    // and centre that whole again. Once only, and only while the user has not
    // resized the window yet.
    if (m_outer_size_fitted || !get_window() || !get_mapped())
        return false;
    Gdk::Rectangle frame;
    get_window()->get_frame_extents(frame);
    const int width = get_window()->get_width();
    const int height = get_window()->get_height();
    const int extra_w = frame.get_width() - width;
    const int extra_h = frame.get_height() - height;
    if (extra_w <= 0 && extra_h <= 0)
        return false; // no frame, or not known yet
    m_outer_size_fitted = true;
    if (width == description::window.outer_width && height == description::window.outer_height) {
        resize(std::max(1, description::window.outer_width - extra_w),
               std::max(1, description::window.outer_height - extra_h));
        centre_on_screen();
    }
    return false;
}

} // namespace vesko
