#include "mainwindow/toolbar_strip.h"

#include "mainwindow/window_description.h"

namespace vesko {

ToolbarStrip::ToolbarStrip() : Gtk::Box(Gtk::ORIENTATION_HORIZONTAL, 0)
{
    set_name(std::string(description::toolbar_name));
    get_style_context()->add_class("vesko-toolbar");
    set_size_request(-1, description::control(description::toolbar_name).height);
}

} // namespace vesko
