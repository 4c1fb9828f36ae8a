#pragma once

#include "mainwindow/window_description.h"

#include <gtkmm/accelgroup.h>
#include <gtkmm/menu.h>
#include <gtkmm/menubar.h>
#include <gtkmm/menuitem.h>
#include <gtkmm/window.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vesko {

// A shortcut's name as shown ("Ctrl+O") in GTK's accelerator syntax ("<Control>o").
std::string gtk_accelerator(std::string_view shortcut);

// The menu bar built from the window description's menu list, and the state
// of every item (checked, disabled, hidden), which can be read and written
// while the program runs. The state lives here, one entry per row; the menu
// bar shows it at once, and popups built from the same rows show it too.
class MainMenu {
public:
    using Activate = std::function<void(const description::Action&)>;

    MainMenu(Gtk::Window& owner, Gtk::MenuBar& bar, Activate on_activate);

    // The row of the item with that caption ("&F.前进"), or -1.
    static int find(std::string_view caption);

    bool checked(int row) const { return valid(row) && m_state[index(row)].checked; }
    bool disabled(int row) const { return valid(row) && m_state[index(row)].disabled; }
    bool hidden(int row) const { return valid(row) && m_state[index(row)].hidden; }
    void set_checked(int row, bool checked);
    void set_disabled(int row, bool disabled);
    void set_hidden(int row, bool hidden);

    // After the bar has been shown with show_all(), hides the hidden rows again.
    void show_all_state(Gtk::MenuBar& bar);

    // The item of a row in the menu bar.
    Gtk::MenuItem* item(int row) { return valid(row) ? m_items[index(row)] : nullptr; }

    // Shows the submenu of the row as a popup menu whose top left corner is at
    // the screen point, with the items' current state; returns once it has
    // closed. An item chosen there does what it does in the menu bar. A row
    // without a submenu shows nothing.
    void popup_submenu(int row, int x, int y);
    // The popup being shown, while popup_submenu runs.
    Gtk::Menu* open_popup() { return m_open_popup; }

private:
    struct State {
        bool checked;
        bool disabled;
        bool hidden;
    };
    static bool valid(int row) { return row >= 0 && row < static_cast<int>(description::menu.size()); }
    static std::size_t index(int row) { return static_cast<std::size_t>(row); }
    // The rows of the submenu opened by `row`: (row + 1) up to this end.
    static int submenu_end(int row);

    // Fills `shell` with the items of rows [begin, end) at `level`. Items of
    // the menu bar are remembered in m_items; a popup's are not.
    void fill(Gtk::MenuShell& shell, int begin, int end, bool for_bar);
    void set_flag(int row, bool State::*flag, bool value);
    void apply(Gtk::MenuItem& widget, int row);
    void show_state(Gtk::MenuShell& shell, int begin, int end);
    void choose(int row);

    Gtk::Window& m_owner;
    Glib::RefPtr<Gtk::AccelGroup> m_accels;
    Activate m_on_activate;
    std::vector<State> m_state;
    std::vector<Gtk::MenuItem*> m_items;
    Gtk::Menu* m_open_popup = nullptr;
    bool m_applying = false;
};

} // namespace vesko
