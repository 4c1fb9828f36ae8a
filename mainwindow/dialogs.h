#pragma once

#include <gtkmm/button.h>
#include <gtkmm/dialog.h>
#include <gtkmm/entry.h>
#include <gtkmm/fixed.h>
#include <gtkmm/frame.h>
#include <gtkmm/label.h>
#include <gtkmm/messagedialog.h>
#include <gtkmm/window.h>

#include <optional>
#include <string>

namespace vesko {

// The dialogs the Main window asks the user through. Tests answer them
// instead of a user.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The Input dialog, modal over `owner`: the entered text, or nothing when cancelled.
    virtual std::optional<std::string> ask_address(Gtk::Window& owner) = 0;
    // The About box; returns when it is closed.
    virtual void show_about() = 0;
};

// The real ones.
class GtkDialogs : public Dialogs {
public:
    std::optional<std::string> ask_address(Gtk::Window& owner) override;
    void show_about() override;
};

// The Input dialog, laid out in dialog units of its own font.
class InputDialog : public Gtk::Dialog {
public:
    explicit InputDialog(Gtk::Window& owner);

    Gtk::Entry& field() { return m_field; }
    Gtk::Button& confirm_button() { return m_confirm; }
    Gtk::Button& cancel_button() { return m_cancel; }
    Gtk::Label& prompt() { return m_prompt; }
    Gtk::Frame& prompt_frame() { return m_prompt_frame; }

    // Pixels per dialog unit, across and down, for the dialog's font.
    double unit_x() const { return m_unit_x; }
    double unit_y() const { return m_unit_y; }

    // The font family standing in for the described one.
    static std::string font_family();

private:
    void compute_units();
    void place(Gtk::Widget& widget, int left, int top, int width, int height);

    Gtk::Fixed m_fixed;
    Gtk::Frame m_prompt_frame;
    Gtk::Label m_prompt;
    Gtk::Entry m_field;
    Gtk::Button m_confirm;
    Gtk::Button m_cancel;
    double m_unit_x = 1.5;
    double m_unit_y = 2.0;
};

// The About box: no owner, modal to the whole program, no icon, one button.
class AboutBox : public Gtk::MessageDialog {
public:
    AboutBox();
};

} // namespace vesko
