#include "mainwindow/style.h"

#include <gtkmm/cssprovider.h>
#include <gtkmm/icontheme.h>
#include <gtkmm/stylecontext.h>

extern "C" void vesko_register_resource(void);

namespace vesko {

namespace {

constexpr const char* program_css = R"css(
.vesko-main { background-color: #f0f0f0; }
.vesko-client label, .vesko-client entry { font-size: 9pt; }
.vesko-client { background-color: #f0f0f0; }

entry.vesko-address {
    min-height: 0;
    padding: 0 3px;
    border-radius: 0;
    border: 1px solid #7a7a7a;
    border-right-color: #ffffff;
    border-bottom-color: #ffffff;
    box-shadow: inset 1px 1px #a0a0a0;
    background-color: #ffffff;
    color: #000000;
}

label.vesko-label { color: #000000; padding: 0; }

.vesko-toolbar {
    background-color: #f0f0f0;
    border-top: 1px solid #a0a0a0;
    box-shadow: inset 0 1px #ffffff;
    padding-left: 5px;
}

.vesko-statusbar { background-color: #f0f0f0; padding: 2px 0 0 0; }
.vesko-statusbar frame > border { border: 1px solid #a0a0a0; border-right-color: #ffffff; border-bottom-color: #ffffff; }
.vesko-statusbar label { padding: 1px 3px; font-size: 9pt; }
)css";

} // namespace

void install_program_resources()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    vesko_register_resource();
    Gtk::IconTheme::get_default()->add_resource_path("/org/vesko/Browser/icons");

    auto screen = Gdk::Screen::get_default();
    if (!screen)
        return;
    auto provider = Gtk::CssProvider::create();
    provider->load_from_data(program_css);
    Gtk::StyleContext::add_provider_for_screen(screen, provider, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

} // namespace vesko
