#pragma once

#include <gdkmm/pixbuf.h>

namespace vesko {

// The toolbar's pictures by index (see the window description), normal (grey)
// or hot (colour); empty for an index without a picture.
Glib::RefPtr<Gdk::Pixbuf> toolbar_picture(int index, bool hot);

} // namespace vesko
