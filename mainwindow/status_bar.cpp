#include "mainwindow/status_bar.h"

#include "mainwindow/window_description.h"

#include <gtkmm/window.h>


namespace vesko {

namespace {
constexpr int grip_size = 14;
// A status message is one line; nothing longer than this can be seen in it.
constexpr std::size_t max_status_chars = 4096;
} // namespace

StatusBar::StatusBar() : Gtk::Box(Gtk::ORIENTATION_HORIZONTAL, 2)
{
    set_name(std::string(description::status_bar_name));
    get_style_context()->add_class("vesko-statusbar");

    for (const description::StatusPart& row : description::status_parts) {
        auto part = std::make_unique<Part>();
        part->frame.set_shadow_type(Gtk::SHADOW_IN);
        part->label.set_text(std::string(row.text));
        part->label.set_xalign(0.0f);
        part->label.set_single_line_mode(true);
        part->label.set_ellipsize(Pango::ELLIPSIZE_END);
        part->label.set_width_chars(0);
        part->frame.add(part->label);
        if (row.width >= 0) {
            part->frame.set_size_request(row.width, -1);
            pack_start(part->frame, Gtk::PACK_SHRINK);
        } else {
            pack_start(part->frame, Gtk::PACK_EXPAND_WIDGET);
        }
        m_parts.push_back(std::move(part));
    }

    m_grip.set_size_request(grip_size, -1);
    m_grip.add_events(Gdk::BUTTON_PRESS_MASK);
    m_grip.signal_draw().connect(sigc::mem_fun(*this, &StatusBar::on_grip_draw));
    m_grip.signal_button_press_event().connect(sigc::mem_fun(*this, &StatusBar::on_grip_press));
    pack_end(m_grip, Gtk::PACK_SHRINK);
    show_all_children();
}

void StatusBar::set_part_text(int index, const std::string& text)
{
    if (index < 0 || index >= part_count())
        return;
    m_parts[static_cast<std::size_t>(index)]->label.set_text(displayable_text(text, max_status_chars));
}

std::string StatusBar::part_text(int index) const
{
    if (index < 0 || index >= part_count())
        return {};
    return m_parts[static_cast<std::size_t>(index)]->label.get_text();
}

Gtk::Widget* StatusBar::part_widget(int index)
{
    if (index < 0 || index >= part_count())
        return nullptr;
    return &m_parts[static_cast<std::size_t>(index)]->frame;
}

bool StatusBar::on_grip_draw(const Cairo::RefPtr<Cairo::Context>& cr)
{
    // Three diagonal ridges in the bottom right corner, light over dark.
    const int w = m_grip.get_allocated_width();
    const int h = m_grip.get_allocated_height();
    cr->set_line_width(1.0);
    for (int i = 0; i < 3; ++i) {
        const double offset = 3.0 + i * 4.0;
        cr->set_source_rgb(0.5, 0.5, 0.5);
        cr->move_to(w - offset, h - 1.0);
        cr->line_to(w - 1.0, h - offset);
        cr->stroke();
        cr->set_source_rgb(1.0, 1.0, 1.0);
        cr->move_to(w - offset - 1.0, h - 1.0);
        cr->line_to(w - 1.0, h - offset - 1.0);
        cr->stroke();
    }
    return true;
}

bool StatusBar::on_grip_press(GdkEventButton* event)
{
    if (event->type != GDK_BUTTON_PRESS || event->button != 1)
        return false;
    auto* window = dynamic_cast<Gtk::Window*>(get_toplevel());
    if (!window || !window->get_resizable())
        return false;
    window->begin_resize_drag(Gdk::WINDOW_EDGE_SOUTH_EAST, static_cast<int>(event->button),
                              static_cast<int>(event->x_root), static_cast<int>(event->y_root), event->time);
    return true;
}

} // namespace vesko
