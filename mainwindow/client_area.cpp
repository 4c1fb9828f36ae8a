#include "mainwindow/client_area.h"

#include "mainwindow/resize_rule.h"

#include <algorithm>

namespace vesko {

ClientArea::ClientArea()
{
    set_has_window(false);
    set_redraw_on_allocate(false);
}

ClientArea::~ClientArea()
{
    // Children that a container still holds are unparented before it goes.
    while (!m_children.empty())
        remove(*m_children.back().widget);
}

void ClientArea::put(Gtk::Widget& child, description::Dock dock, const Gdk::Rectangle& rect)
{
    Gdk::Rectangle r(rect.get_x(), rect.get_y(), clamp_control_size(rect.get_width()),
                     clamp_control_size(rect.get_height()));
    m_children.push_back({&child, dock, r});
    child.set_parent(*this);
}

void ClientArea::set_child_size(Gtk::Widget& child, int width, int height)
{
    Child* c = find(child);
    if (!c)
        return;
    c->rect.set_width(clamp_control_size(width));
    c->rect.set_height(clamp_control_size(height));
    if (!m_allocating)
        queue_allocate();
}

Gdk::Rectangle ClientArea::child_rect(const Gtk::Widget& child) const
{
    const Child* c = find(child);
    return c ? c->rect : Gdk::Rectangle();
}

void ClientArea::dock(int width, int height)
{
    m_width = width;
    m_height = height;
    for (Child& c : m_children) {
        if (c.dock == description::Dock::None)
            continue;
        int minimum = 0;
        int natural = 0;
        c.widget->get_preferred_height_for_width(std::max(width, 0), minimum, natural);
        const int h = std::max(minimum, natural);
        const int top = c.dock == description::Dock::Top ? 0 : height - h;
        c.rect = Gdk::Rectangle(0, top, std::max(width, 0), h);
    }
}

void ClientArea::on_size_allocate(Gtk::Allocation& allocation)
{
    set_allocation(allocation);
    m_allocating = true;
    dock(allocation.get_width(), allocation.get_height());
    m_docked.emit();
    m_allocating = false;

    for (Child& c : m_children) {
        if (!c.widget->get_visible())
            continue;
        // GTK wants every child asked for its size before it is allocated.
        int minimum = 0;
        int natural = 0;
        c.widget->get_preferred_width(minimum, natural);
        c.widget->get_preferred_height(minimum, natural);
        Gtk::Allocation a(allocation.get_x() + c.rect.get_x(), allocation.get_y() + c.rect.get_y(),
                          c.rect.get_width(), c.rect.get_height());
        c.widget->size_allocate(a);
    }
}

void ClientArea::on_add(Gtk::Widget* child)
{
    if (child)
        put(*child, description::Dock::None, Gdk::Rectangle(0, 0, 0, 0));
}

void ClientArea::on_remove(Gtk::Widget* child)
{
    auto it = std::find_if(m_children.begin(), m_children.end(), [&](const Child& c) { return c.widget == child; });
    if (it == m_children.end())
        return;
    const bool was_visible = child->get_visible();
    m_children.erase(it);
    child->unparent();
    if (was_visible && get_visible())
        queue_resize();
}

void ClientArea::forall_vfunc(gboolean, GtkCallback callback, gpointer callback_data)
{
    // A callback may remove the child it is given: walk a copy.
    std::vector<Gtk::Widget*> widgets;
    widgets.reserve(m_children.size());
    for (const Child& c : m_children)
        widgets.push_back(c.widget);
    for (Gtk::Widget* w : widgets)
        callback(w->gobj(), callback_data);
}

GType ClientArea::child_type_vfunc() const
{
    return Gtk::Widget::get_type();
}

Gtk::SizeRequestMode ClientArea::get_request_mode_vfunc() const
{
    return Gtk::SIZE_REQUEST_CONSTANT_SIZE;
}

void ClientArea::get_preferred_width_vfunc(int& minimum, int& natural) const
{
    minimum = 0;
    natural = 0;
}

void ClientArea::get_preferred_height_vfunc(int& minimum, int& natural) const
{
    minimum = 0;
    natural = 0;
}

void ClientArea::get_preferred_height_for_width_vfunc(int, int& minimum, int& natural) const
{
    get_preferred_height_vfunc(minimum, natural);
}

void ClientArea::get_preferred_width_for_height_vfunc(int, int& minimum, int& natural) const
{
    get_preferred_width_vfunc(minimum, natural);
}

ClientArea::Child* ClientArea::find(const Gtk::Widget& widget)
{
    for (Child& c : m_children) {
        if (c.widget == &widget)
            return &c;
    }
    return nullptr;
}

const ClientArea::Child* ClientArea::find(const Gtk::Widget& widget) const
{
    return const_cast<ClientArea*>(this)->find(widget);
}

} // namespace vesko
