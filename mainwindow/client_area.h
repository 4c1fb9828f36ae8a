#pragma once

#include "mainwindow/window_description.h"

#include <gtkmm/container.h>

#include <vector>

namespace vesko {

// The Main window's client area. It places its children itself: the docked
// bars along the top and bottom edges at full width, every other child at the
// rectangle it was given, and it asks nothing of its children's sizes for its
// own, so the window can be made as small as the user likes. Children are drawn
// in the order they were added, the last on top.
class ClientArea : public Gtk::Container {
public:
    ClientArea();
    ~ClientArea() override;

    void put(Gtk::Widget& child, description::Dock dock, const Gdk::Rectangle& rect);
    // Sets a placed child's width and height (clamped to 0..32627); its left
    // and top stay.
    void set_child_size(Gtk::Widget& child, int width, int height);
    // The child's rectangle in client coordinates.
    Gdk::Rectangle child_rect(const Gtk::Widget& child) const;

    // Docks the bars for a client area of that size; called on every
    // allocation, and once before the window is first shown.
    void dock(int width, int height);
    int width() const { return m_width; }

    // Runs after the bars have been docked again for a new allocation, before
    // the children are allocated.
    sigc::signal<void()>& signal_docked() { return m_docked; }

protected:
    void on_size_allocate(Gtk::Allocation& allocation) override;
    void on_add(Gtk::Widget* child) override;
    void on_remove(Gtk::Widget* child) override;
    void forall_vfunc(gboolean include_internals, GtkCallback callback, gpointer callback_data) override;
    GType child_type_vfunc() const override;
    Gtk::SizeRequestMode get_request_mode_vfunc() const override;
    void get_preferred_width_vfunc(int& minimum, int& natural) const override;
    void get_preferred_height_vfunc(int& minimum, int& natural) const override;
    void get_preferred_height_for_width_vfunc(int width, int& minimum, int& natural) const override;
    void get_preferred_width_for_height_vfunc(int height, int& minimum, int& natural) const override;

private:
    struct Child {
        Gtk::Widget* widget;
        description::Dock dock;
        Gdk::Rectangle rect;
    };
    Child* find(const Gtk::Widget& widget);
    const Child* find(const Gtk::Widget& widget) const;

    std::vector<Child> m_children;
    int m_width = 0;
    int m_height = 0;
    bool m_allocating = false;
    sigc::signal<void()> m_docked;
};

} // namespace vesko
