#include "mainwindow/toolbar.h"

#include "mainwindow/toolbar_pictures.h"

#include <gtkmm/arrow.h>
#include <gtkmm/separator.h>

#include <algorithm>
#include <limits>

namespace vesko {

Toolbar::Toolbar()
{
    set_has_window(false);
    set_name(std::string(description::toolbar_name));
    get_style_context()->add_class("vesko-toolbar");
    set_can_focus(false);

    m_buttons.reserve(description::toolbar.size());
    for (std::size_t i = 0; i < description::toolbar.size(); ++i)
        build(static_cast<int>(i), description::toolbar[i]);
    show_all_children();
}

void Toolbar::build(int index, const description::ToolbarButton& row)
{
    Button b;
    b.style = row.style;
    b.state = row.disabled ? state_disabled : 0;

    if (row.style == description::ButtonStyle::Separator) {
        auto* sep = Gtk::manage(new Gtk::Separator(Gtk::ORIENTATION_VERTICAL));
        sep->get_style_context()->add_class("vesko-tool-separator");
        b.whole = sep;
    } else {
        b.normal = toolbar_picture(row.picture, false);
        b.hot = toolbar_picture(row.picture, true);
        b.image = Gtk::manage(new Gtk::Image(b.normal));
        b.picture = Gtk::manage(new Gtk::Button());
        b.picture->set_relief(Gtk::RELIEF_NONE);
        b.picture->set_can_focus(false);
        b.picture->set_focus_on_click(false);
        b.picture->add(*b.image);
        b.picture->get_style_context()->add_class("vesko-tool");
        b.picture->set_tooltip_text(std::string(row.tooltip));
        b.picture->signal_clicked().connect([this, index] {
            // Only a button the user can press raises the event.
            if (button_widget(index)->is_sensitive() && (button_state(index) & state_disabled) == 0)
                m_button_clicked.emit(index);
        });
        b.whole = b.picture;
        if (row.style == description::ButtonStyle::DropDown) {
            auto* box = Gtk::manage(new Gtk::Box(Gtk::ORIENTATION_HORIZONTAL, 0));
            b.arrow = Gtk::manage(new Gtk::Button());
            b.arrow->set_relief(Gtk::RELIEF_NONE);
            b.arrow->set_can_focus(false);
            b.arrow->set_focus_on_click(false);
            b.arrow->add(*Gtk::manage(new Gtk::Arrow(Gtk::ARROW_DOWN, Gtk::SHADOW_NONE)));
            b.arrow->get_style_context()->add_class("vesko-tool");
            b.arrow->get_style_context()->add_class("vesko-tool-arrow");
            b.arrow->set_tooltip_text(std::string(row.tooltip));
            b.arrow->signal_button_press_event().connect(
                [this, index](GdkEventButton* e) { return on_arrow_press(e, index); }, false);
            box->pack_start(*b.picture, Gtk::PACK_SHRINK);
            box->pack_start(*b.arrow, Gtk::PACK_SHRINK);
            box->get_style_context()->add_class("vesko-tool-dropdown");
            b.whole = box;
        }
        for (Gtk::Button* part : {b.picture, b.arrow}) {
            if (part)
                part->signal_state_flags_changed().connect([this, index](Gtk::StateFlags) {
                    update_picture(m_buttons[static_cast<std::size_t>(index)]);
                });
        }
    }
    m_buttons.push_back(b);
    b.whole->set_parent(*this);
    apply_state(m_buttons.back());
}

void Toolbar::add_button_state(int index, int flags)
{
    if (index < 0 || index >= button_count())
        return;
    Button& b = m_buttons[static_cast<std::size_t>(index)];
    b.state |= flags;
    apply_state(b);
}

void Toolbar::remove_button_state(int index, int flags)
{
    if (index < 0 || index >= button_count())
        return;
    Button& b = m_buttons[static_cast<std::size_t>(index)];
    b.state &= ~flags;
    apply_state(b);
}

int Toolbar::button_state(int index) const
{
    if (index < 0 || index >= button_count())
        return 0;
    return m_buttons[static_cast<std::size_t>(index)].state;
}

void Toolbar::apply_state(Button& b)
{
    // A disabled button is greyed by the toolkit and raises nothing.
    b.whole->set_sensitive((b.state & state_disabled) == 0);
    b.whole->set_visible((b.state & state_hidden) == 0);
    update_picture(b);
}

void Toolbar::update_picture(Button& b)
{
    if (!b.image)
        return;
    auto under_pointer = [](Gtk::Button* part) {
        return part && part->is_sensitive() && (part->get_state_flags() & Gtk::STATE_FLAG_PRELIGHT);
    };
    const bool hot = under_pointer(b.picture) || under_pointer(b.arrow);
    if (hot == b.showing_hot)
        return;
    b.showing_hot = hot;
    b.image->set(hot ? b.hot : b.normal);
}

bool Toolbar::on_arrow_press(GdkEventButton* event, int index)
{
    if (event->type != GDK_BUTTON_PRESS || event->button != 1)
        return false;
    Gtk::Widget* whole = m_buttons[static_cast<std::size_t>(index)].whole;
    Gtk::Widget* toplevel = whole->get_toplevel();
    int x = 0;
    int y = 0;
    int ox = 0;
    int oy = 0;
    if (!toplevel || !toplevel->get_window() || !whole->translate_coordinates(*toplevel, 0, 0, x, y))
        return false;
    toplevel->get_window()->get_origin(ox, oy);
    m_dropdown_clicked.emit(index, ox + x, oy + y + whole->get_allocated_height() + 2);
    return true;
}

int Toolbar::lay_out(int width, std::vector<Gdk::Rectangle>* places) const
{
    int x = indent;
    int y = divider;
    int row_height = 0;
    std::size_t row_start = 0;
    // Every button of a row gets the row's height, so separators reach across it.
    auto end_row = [&](std::size_t end) {
        if (places) {
            for (std::size_t i = row_start; i < end; ++i)
                (*places)[i].set_height(row_height);
        }
        row_start = end;
    };
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        const Button& b = m_buttons[i];
        int min_w = 0;
        int nat_w = 0;
        int min_h = 0;
        int nat_h = 0;
        if (b.whole->get_visible()) {
            b.whole->get_preferred_width(min_w, nat_w);
            b.whole->get_preferred_height(min_h, nat_h);
        }
        // A button that does not fit goes on in a further row; each row holds one at least.
        if (x > indent && x + nat_w > width) {
            end_row(i);
            x = indent;
            y += row_height;
            row_height = 0;
        }
        if (places)
            places->emplace_back(x, y, nat_w, nat_h);
        x += nat_w;
        row_height = std::max(row_height, nat_h);
    }
    end_row(m_buttons.size());
    return y + row_height;
}

Gtk::SizeRequestMode Toolbar::get_request_mode_vfunc() const
{
    return Gtk::SIZE_REQUEST_HEIGHT_FOR_WIDTH;
}

void Toolbar::get_preferred_width_vfunc(int& minimum, int& natural) const
{
    // The strip is as wide as the window makes it; its buttons then wrap.
    minimum = 0;
    natural = 0;
}

void Toolbar::get_preferred_height_vfunc(int& minimum, int& natural) const
{
    minimum = natural = lay_out(std::numeric_limits<int>::max() / 2, nullptr);
}

void Toolbar::get_preferred_height_for_width_vfunc(int width, int& minimum, int& natural) const
{
    minimum = natural = lay_out(width, nullptr);
}

void Toolbar::get_preferred_width_for_height_vfunc(int, int& minimum, int& natural) const
{
    get_preferred_width_vfunc(minimum, natural);
}

void Toolbar::on_size_allocate(Gtk::Allocation& allocation)
{
    set_allocation(allocation);
    std::vector<Gdk::Rectangle> places;
    lay_out(allocation.get_width(), &places);
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        Gtk::Allocation a(allocation.get_x() + places[i].get_x(), allocation.get_y() + places[i].get_y(),
                          places[i].get_width(), places[i].get_height());
        m_buttons[i].whole->size_allocate(a);
    }
}

bool Toolbar::on_draw(const Cairo::RefPtr<Cairo::Context>& cr)
{
    const int w = get_allocated_width();
    const int h = get_allocated_height();
    get_style_context()->render_background(cr, 0, 0, w, h);
    // The divider along the top edge: a shadow line over a light one.
    cr->set_line_width(1.0);
    cr->set_source_rgb(0.63, 0.63, 0.63);
    cr->move_to(0, 0.5);
    cr->line_to(w, 0.5);
    cr->stroke();
    cr->set_source_rgb(1.0, 1.0, 1.0);
    cr->move_to(0, 1.5);
    cr->line_to(w, 1.5);
    cr->stroke();
    return Gtk::Container::on_draw(cr);
}

void Toolbar::forall_vfunc(gboolean, GtkCallback callback, gpointer callback_data)
{
    std::vector<Gtk::Widget*> widgets;
    for (const Button& b : m_buttons)
        widgets.push_back(b.whole);
    for (Gtk::Widget* w : widgets)
        callback(w->gobj(), callback_data);
}

void Toolbar::on_remove(Gtk::Widget* child)
{
    // Buttons leave only when the toolbar goes.
    if (child)
        child->unparent();
}

bool Toolbar::shows_hot_picture(int index) const
{
    if (index < 0 || index >= button_count())
        return false;
    return m_buttons[static_cast<std::size_t>(index)].showing_hot;
}

Gtk::Widget* Toolbar::button_widget(int index)
{
    return index >= 0 && index < button_count() ? m_buttons[static_cast<std::size_t>(index)].whole : nullptr;
}

Gtk::Button* Toolbar::picture_part(int index)
{
    return index >= 0 && index < button_count() ? m_buttons[static_cast<std::size_t>(index)].picture : nullptr;
}

Gtk::Button* Toolbar::arrow_part(int index)
{
    return index >= 0 && index < button_count() ? m_buttons[static_cast<std::size_t>(index)].arrow : nullptr;
}

} // namespace vesko
