#include "mainwindow/style.h"

#include <gtkmm/cssprovider.h>
#include <gtkmm/icontheme.h>
#include <gtkmm/stylecontext.h>

extern "C" void vesko_register_resource(void);

namespace vesko {

namespace {

constexpr const char* program_css = R"css(
.vesko-main { background-color: #f0f0f0; }
/* One Chinese face for Chinese and Latin alike, as a Chinese desktop sets it. */
.vesko-main label, .vesko-main entry, .vesko-main menuitem {
    font-family: "Noto Sans CJK SC", "Noto Sans SC", "WenQuanYi Micro Hei", sans-serif;
}
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
    font-size: 9pt;
}

/* Every item can carry a check mark, but an unchecked one shows nothing. */
menu menuitem check:not(:checked) {
    border-color: transparent;
    background: none;
    box-shadow: none;
    -gtk-icon-source: none;
}

label.vesko-label { color: #000000; padding: 0; font-size: 9pt; }

.vesko-toolbar { background-color: #f0f0f0; }
button.vesko-tool {
    min-height: 0;
    min-width: 0;
    padding: 2px 3px;
    margin: 0;
    border: 1px solid transparent;
    border-radius: 0;
    background: none;
    box-shadow: none;
}
button.vesko-tool:hover { border-color: #ffffff #808080 #808080 #ffffff; }
button.vesko-tool:active { border-color: #808080 #ffffff #ffffff #808080; }
button.vesko-tool-arrow { padding: 2px 0; min-width: 10px; }
button.vesko-tool-arrow arrow { min-width: 8px; min-height: 8px; -gtk-icon-source: -gtk-icontheme("pan-down-symbolic"); }
separator.vesko-tool-separator { margin: 3px 4px; min-width: 1px; background-color: #a0a0a0; }

.vesko-statusbar { background-color: #f0f0f0; padding: 2px 0 0 0; }
.vesko-statusbar frame > border { border: 1px solid #a0a0a0; border-right-color: #ffffff; border-bottom-color: #ffffff; }
.vesko-statusbar label { padding: 1px 3px; font-size: 9pt; }

entry.vesko-dialog-field { min-height: 0; padding-top: 0; padding-bottom: 0; }
button.vesko-dialog-button { min-height: 0; padding: 0 4px; }
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
