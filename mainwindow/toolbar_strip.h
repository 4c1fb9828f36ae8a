#pragma once

#include <gtkmm/box.h>

namespace vesko {

// The strip along the top of the client area that holds the toolbar's picture
// buttons: flat, a divider line along its top edge, the button-face background.
class ToolbarStrip : public Gtk::Box {
public:
    ToolbarStrip();
};

} // namespace vesko
