#include "mainwindow/main_menu.h"

#include "mainwindow/mnemonic.h"

#include <gtkmm/accelkey.h>
#include <gtkmm/checkmenuitem.h>
#include <gtkmm/separatormenuitem.h>
#include <glibmm/main.h>

namespace vesko {

namespace {

bool is_separator(const description::MenuRow& r)
{
    return r.caption == description::menu_separator;
}

} // namespace

std::string gtk_accelerator(std::string_view shortcut)
{
    // "Ctrl+O" → "<Control>o"; the key is the part after the last "+".
    std::string out;
    std::string_view rest = shortcut;
    for (std::size_t plus = rest.find('+'); plus != std::string_view::npos && plus + 1 < rest.size();
         plus = rest.find('+')) {
        const std::string_view mod = rest.substr(0, plus);
        if (mod == "Ctrl")
            out += "<Control>";
        else if (mod == "Shift")
            out += "<Shift>";
        else if (mod == "Alt")
            out += "<Alt>";
        rest.remove_prefix(plus + 1);
    }
    for (char c : rest)
        out += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return out;
}

MainMenu::MainMenu(Gtk::Window& owner, Gtk::MenuBar& bar, Activate on_activate)
    : m_owner(owner), m_accels(Gtk::AccelGroup::create()), m_on_activate(std::move(on_activate))
{
    owner.add_accel_group(m_accels);
    for (const description::MenuRow& r : description::menu)
        m_state.push_back({r.checked, r.disabled, r.hidden});
    m_items.assign(description::menu.size(), nullptr);
    fill(bar, 0, static_cast<int>(description::menu.size()), true);
}

int MainMenu::find(std::string_view caption)
{
    for (std::size_t i = 0; i < description::menu.size(); ++i) {
        if (description::menu[i].caption == caption && !is_separator(description::menu[i]))
            return static_cast<int>(i);
    }
    return -1;
}

int MainMenu::submenu_end(int row)
{
    const int level = description::menu[index(row)].level;
    int end = row + 1;
    while (end < static_cast<int>(description::menu.size()) && description::menu[index(end)].level > level)
        ++end;
    return end;
}

void MainMenu::fill(Gtk::MenuShell& shell, int begin, int end, bool for_bar)
{
    for (int row = begin; row < end;) {
        const description::MenuRow& r = description::menu[index(row)];
        const int sub_end = submenu_end(row);
        Gtk::MenuItem* widget = nullptr;
        if (is_separator(r)) {
            widget = Gtk::manage(new Gtk::SeparatorMenuItem());
        } else if (sub_end > row + 1 || r.level == 0) {
            widget = Gtk::manage(new Gtk::MenuItem(gtk_mnemonic(r.caption), true));
            auto* submenu = Gtk::manage(new Gtk::Menu());
            fill(*submenu, row + 1, sub_end, for_bar);
            widget->set_submenu(*submenu);
        } else {
            // Any item can carry a check mark; GTK toggles a check item by
            // itself when chosen, so the state is set from ours afterwards.
            auto* check = Gtk::manage(new Gtk::CheckMenuItem(gtk_mnemonic(r.caption), true));
            check->signal_activate().connect([this, row] { choose(row); });
            if (for_bar && !r.shortcut.empty()) {
                guint key = 0;
                GdkModifierType mods{};
                gtk_accelerator_parse(gtk_accelerator(r.shortcut).c_str(), &key, &mods);
                if (key != 0)
                    check->add_accelerator("activate", m_accels, key, static_cast<Gdk::ModifierType>(mods),
                                           Gtk::ACCEL_VISIBLE);
            }
            widget = check;
        }
        if (for_bar)
            m_items[index(row)] = widget;
        apply(*widget, row);
        shell.append(*widget);
        row = is_separator(r) ? row + 1 : sub_end;
    }
}

void MainMenu::show_state(Gtk::MenuShell& shell, int begin, int end)
{
    // show_all() shows every item; hide again those whose row says so.
    std::vector<Gtk::Widget*> children = shell.get_children();
    std::size_t i = 0;
    for (int row = begin; row < end && i < children.size(); ++i) {
        const bool separator = is_separator(description::menu[index(row)]);
        if (auto* item = dynamic_cast<Gtk::MenuItem*>(children[i])) {
            item->set_visible(!m_state[index(row)].hidden);
            if (!separator && item->get_submenu())
                show_state(*item->get_submenu(), row + 1, submenu_end(row));
        }
        row = separator ? row + 1 : submenu_end(row);
    }
}

void MainMenu::show_all_state(Gtk::MenuBar& bar)
{
    show_state(bar, 0, static_cast<int>(description::menu.size()));
}

void MainMenu::apply(Gtk::MenuItem& widget, int row)
{
    const State& s = m_state[index(row)];
    m_applying = true;
    if (auto* check = dynamic_cast<Gtk::CheckMenuItem*>(&widget))
        check->set_active(s.checked);
    widget.set_sensitive(!s.disabled);
    widget.set_visible(!s.hidden);
    m_applying = false;
}

void MainMenu::choose(int row)
{
    if (m_applying)
        return;
    // Undo the toolkit's own toggle: the check mark is ours to set.
    if (Gtk::MenuItem* w = m_items[index(row)])
        apply(*w, row);
    if (m_state[index(row)].disabled)
        return;
    m_on_activate(description::menu[index(row)].action);
}

void MainMenu::set_checked(int row, bool checked)
{
    set_flag(row, &State::checked, checked);
}

void MainMenu::set_disabled(int row, bool disabled)
{
    set_flag(row, &State::disabled, disabled);
}

void MainMenu::set_hidden(int row, bool hidden)
{
    set_flag(row, &State::hidden, hidden);
}

void MainMenu::set_flag(int row, bool State::*flag, bool value)
{
    if (!valid(row))
        return;
    m_state[index(row)].*flag = value;
    // Shown at once in the menu bar; popups are built from the state when they open.
    if (Gtk::MenuItem* w = m_items[index(row)])
        apply(*w, row);
}

void MainMenu::popup_submenu(int row, int x, int y)
{
    if (!valid(row) || m_open_popup)
        return;
    const int end = submenu_end(row);
    if (end == row + 1)
        return;

    Gtk::Menu popup;
    fill(popup, row + 1, end, false);
    popup.attach_to_widget(m_owner);
    popup.show_all();
    show_state(popup, row + 1, end);

    // The point is on the screen; the menu is placed relative to the owner's window.
    Glib::RefPtr<Gdk::Window> window = m_owner.get_window();
    int ox = 0;
    int oy = 0;
    if (window)
        window->get_origin(ox, oy);
    auto loop = Glib::MainLoop::create();
    popup.signal_deactivate().connect([&] { loop->quit(); });
    m_open_popup = &popup;
    if (window)
        popup.popup_at_rect(window, Gdk::Rectangle(x - ox, y - oy, 1, 1), Gdk::GRAVITY_NORTH_WEST,
                            Gdk::GRAVITY_NORTH_WEST, nullptr);
    if (popup.get_visible())
        loop->run();
    m_open_popup = nullptr;
    popup.detach();
}

} // namespace vesko
