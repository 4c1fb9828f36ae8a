#pragma once

#include "browser/display_text.h"

#include <gtkmm/box.h>
#include <gtkmm/drawingarea.h>
#include <gtkmm/frame.h>
#include <gtkmm/label.h>

#include <memory>
#include <string>
#include <vector>

namespace vesko {

// The status bar: the parts of the window description, each a sunken frame
// with one line of text, and a size grip at the right end.
class StatusBar : public Gtk::Box {
public:
    StatusBar();

    int part_count() const { return static_cast<int>(m_parts.size()); }
    // Replaces the part's text; an index outside the parts changes nothing.
    void set_part_text(int index, const std::string& text);
    // The part's text; empty outside the parts.
    std::string part_text(int index) const;
    Gtk::Widget* part_widget(int index);

private:
    struct Part {
        Gtk::Frame frame;
        Gtk::Label label;
    };

    bool on_grip_draw(const Cairo::RefPtr<Cairo::Context>& cr);
    bool on_grip_press(GdkEventButton* event);

    std::vector<std::unique_ptr<Part>> m_parts;
    Gtk::DrawingArea m_grip;
};

} // namespace vesko
