#pragma once

#include "mainwindow/window_description.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/container.h>
#include <gtkmm/image.h>

#include <memory>
#include <vector>

namespace vesko {

// The toolbar: flat picture buttons from the window description, the hot
// picture under the pointer, a drop-down button whose arrow is a part of its
// own, and rows that wrap when the strip is narrower than its buttons. It has
// no window of its own, so the controls drawn over its strip stay visible.
class Toolbar : public Gtk::Container {
public:
    // Button state flags.
    static constexpr int state_checked = 1;
    static constexpr int state_pressed = 2;
    static constexpr int state_disabled = 4;
    static constexpr int state_hidden = 8;
    static constexpr int state_indeterminate = 16;

    Toolbar();

    int button_count() const { return static_cast<int>(m_buttons.size()); }
    // Index outside the buttons: nothing.
    void add_button_state(int index, int flags);
    void remove_button_state(int index, int flags);
    int button_state(int index) const;

    // A click on an enabled button, or on the picture part of a drop-down button.
    sigc::signal<void(int)>& signal_button_clicked() { return m_button_clicked; }
    // A press on the arrow part of a drop-down button: its index, and the
    // screen point at the button's left edge, 2 px below its bottom.
    sigc::signal<void(int, int, int)>& signal_dropdown_clicked() { return m_dropdown_clicked; }

    // The widgets of a button, for tests: the whole button (with its arrow
    // part), its picture part, and the arrow part (null where there is none).
    Gtk::Widget* button_widget(int index);
    Gtk::Button* picture_part(int index);
    Gtk::Button* arrow_part(int index);
    // Whether the button shows its hot picture.
    bool shows_hot_picture(int index) const;

    // Space before the first button of each row, and the divider's height.
    static constexpr int indent = 5;
    static constexpr int divider = 2;

protected:
    bool on_draw(const Cairo::RefPtr<Cairo::Context>& cr) override;
    void on_size_allocate(Gtk::Allocation& allocation) override;
    void forall_vfunc(gboolean include_internals, GtkCallback callback, gpointer callback_data) override;
    void on_remove(Gtk::Widget* child) override;
    Gtk::SizeRequestMode get_request_mode_vfunc() const override;
    void get_preferred_width_vfunc(int& minimum, int& natural) const override;
    void get_preferred_height_vfunc(int& minimum, int& natural) const override;
    void get_preferred_height_for_width_vfunc(int width, int& minimum, int& natural) const override;
    void get_preferred_width_for_height_vfunc(int height, int& minimum, int& natural) const override;

private:
    // Places the buttons in rows for a strip of that width; returns its height.
    int lay_out(int width, std::vector<Gdk::Rectangle>* places) const;

    struct Button {
        description::ButtonStyle style;
        int state = 0;
        Gtk::Widget* whole = nullptr;
        Gtk::Button* picture = nullptr;
        Gtk::Button* arrow = nullptr;
        Gtk::Image* image = nullptr;
        Glib::RefPtr<Gdk::Pixbuf> normal;
        Glib::RefPtr<Gdk::Pixbuf> hot;
        bool showing_hot = false;
    };

    void build(int index, const description::ToolbarButton& row);
    void apply_state(Button& b);
    void update_picture(Button& b);
    bool on_arrow_press(GdkEventButton* event, int index);

    std::vector<Button> m_buttons;
    sigc::signal<void(int)> m_button_clicked;
    sigc::signal<void(int, int, int)> m_dropdown_clicked;
};

} // namespace vesko
