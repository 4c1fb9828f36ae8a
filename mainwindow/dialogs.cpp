#include "mainwindow/dialogs.h"

#include "mainwindow/mnemonic.h"
#include "mainwindow/window_description.h"

#include <pangomm/fontdescription.h>
#include <pangomm/fontfamily.h>
#include <pangomm/layout.h>

#include <cmath>

namespace vesko {

std::optional<std::string> GtkDialogs::ask_address(Gtk::Window& owner)
{
    InputDialog dialog(owner);
    if (dialog.run() != Gtk::RESPONSE_OK)
        return std::nullopt;
    return std::string(dialog.field().get_text());
}

void GtkDialogs::show_about()
{
    AboutBox box;
    box.run();
}

// --- Input dialog ------------------------------------------------------------

std::string InputDialog::font_family()
{
    // The Song face by its Chinese and English names, then the Song/Ming
    // style faces a Linux desktop has instead.
    static const char* const candidates[] = {"宋体",
                                             "SimSun",
                                             "Noto Serif CJK SC",
                                             "Source Han Serif SC",
                                             "Noto Serif SC",
                                             "AR PL UMing CN",
                                             "AR PL SungtiL GB"};
    Gtk::Label probe;
    std::vector<Glib::RefPtr<Pango::FontFamily>> families = probe.get_pango_context()->list_families();
    for (const char* candidate : candidates) {
        for (const auto& family : families) {
            if (family->get_name().casefold() == Glib::ustring(candidate).casefold())
                return candidate;
        }
    }
    return "serif";
}

InputDialog::InputDialog(Gtk::Window& owner)
    : m_confirm(gtk_mnemonic(description::input_dialog.confirm.text), true),
      m_cancel(gtk_mnemonic(description::input_dialog.cancel.text), true)
{
    const auto& layout = description::input_dialog;
    set_title(std::string(layout.title));
    set_transient_for(owner);
    set_modal(true);
    set_resizable(false);
    set_position(Gtk::WIN_POS_CENTER_ON_PARENT);
    set_type_hint(Gdk::WINDOW_TYPE_HINT_DIALOG);
    get_style_context()->add_class("vesko-input-dialog");

    Pango::FontDescription font(font_family() + " " + std::to_string(layout.font_points));
    override_font(font);
    compute_units();

    m_prompt.set_text(std::string(layout.prompt.text));
    m_prompt.set_xalign(0.0f);
    m_prompt.set_yalign(0.0f);
    m_prompt.set_line_wrap(true);
    m_prompt.set_line_wrap_mode(Pango::WRAP_WORD_CHAR);
    m_prompt_frame.set_shadow_type(Gtk::SHADOW_IN);
    m_field.get_style_context()->add_class("vesko-dialog-field");
    m_field.set_activates_default(true);
    for (Gtk::Button* b : {&m_confirm, &m_cancel})
        b->get_style_context()->add_class("vesko-dialog-button");

    // Added in drawing order, the frame under its prompt; the focus chain
    // below puts the field first.
    place(m_field, layout.field.left, layout.field.top, layout.field.width, layout.field.height);
    place(m_prompt_frame, layout.prompt_frame.left, layout.prompt_frame.top, layout.prompt_frame.width,
          layout.prompt_frame.height);
    place(m_prompt, layout.prompt.left, layout.prompt.top, layout.prompt.width, layout.prompt.height);
    place(m_confirm, layout.confirm.left, layout.confirm.top, layout.confirm.width, layout.confirm.height);
    place(m_cancel, layout.cancel.left, layout.cancel.top, layout.cancel.width, layout.cancel.height);
    m_fixed.set_size_request(static_cast<int>(std::lround(layout.width * m_unit_x)),
                             static_cast<int>(std::lround(layout.height * m_unit_y)));
    m_fixed.set_focus_chain({&m_field, &m_confirm, &m_cancel});

    Gtk::Box* content = get_content_area();
    content->set_border_width(0);
    content->set_spacing(0);
    content->pack_start(m_fixed, Gtk::PACK_EXPAND_WIDGET);
    get_action_area()->hide();

    m_confirm.signal_clicked().connect([this] { response(Gtk::RESPONSE_OK); });
    m_cancel.signal_clicked().connect([this] { response(Gtk::RESPONSE_CANCEL); });
    m_confirm.set_can_default(true);

    show_all_children();
    get_action_area()->hide();
    m_confirm.grab_default();
    m_field.grab_focus();
}

void InputDialog::compute_units()
{
    // The average width of the Latin letters and the height of a line, as
    // dialog units are defined.
    auto layout = create_pango_layout("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    int width = 0;
    int height = 0;
    layout->get_pixel_size(width, height);
    const double average = std::floor((width / 26.0 + 1.0) / 2.0);
    if (average > 0)
        m_unit_x = average / 4.0;
    if (height > 0)
        m_unit_y = height / 8.0;
}

void InputDialog::place(Gtk::Widget& widget, int left, int top, int width, int height)
{
    auto px = [](double units, double unit) { return static_cast<int>(std::lround(units * unit)); };
    widget.set_size_request(px(width, m_unit_x), px(height, m_unit_y));
    m_fixed.put(widget, px(left, m_unit_x), px(top, m_unit_y));
}

// --- About box ---------------------------------------------------------------

AboutBox::AboutBox()
    : Gtk::MessageDialog(std::string(description::about_text), false, Gtk::MESSAGE_OTHER, Gtk::BUTTONS_OK, true)
{
    set_title(std::string(description::about_title));
    // No owner: it stands on its own, and being modal, keeps input from every
    // other window of the program until it is closed.
    unset_transient_for();
    set_modal(true);
    set_position(Gtk::WIN_POS_CENTER);
}

} // namespace vesko
