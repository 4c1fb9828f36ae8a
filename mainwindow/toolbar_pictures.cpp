#include "mainwindow/toolbar_pictures.h"

#include <array>

// The pictures are kept as XPM source, 16 colours each, and compiled in.
#include "data/toolbar/back.xpm"
#include "data/toolbar/back_hot.xpm"
#include "data/toolbar/font.xpm"
#include "data/toolbar/font_hot.xpm"
#include "data/toolbar/forward.xpm"
#include "data/toolbar/forward_hot.xpm"
#include "data/toolbar/home.xpm"
#include "data/toolbar/home_hot.xpm"
#include "data/toolbar/print.xpm"
#include "data/toolbar/print_hot.xpm"
#include "data/toolbar/refresh.xpm"
#include "data/toolbar/refresh_hot.xpm"
#include "data/toolbar/stop.xpm"
#include "data/toolbar/stop_hot.xpm"

namespace vesko {

namespace {

struct Picture {
    const char* const* normal;
    const char* const* hot;
};

// In the order of the window description's picture list.
const std::array<Picture, 7> pictures = {{
    {back_xpm, back_hot_xpm},
    {forward_xpm, forward_hot_xpm},
    {stop_xpm, stop_hot_xpm},
    {refresh_xpm, refresh_hot_xpm},
    {home_xpm, home_hot_xpm},
    {print_xpm, print_hot_xpm},
    {font_xpm, font_hot_xpm},
}};

} // namespace

Glib::RefPtr<Gdk::Pixbuf> toolbar_picture(int index, bool hot)
{
    if (index < 0 || index >= static_cast<int>(pictures.size()))
        return {};
    const Picture& p = pictures[static_cast<std::size_t>(index)];
    return Gdk::Pixbuf::create_from_xpm_data(hot ? p.hot : p.normal);
}

} // namespace vesko
