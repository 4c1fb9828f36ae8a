#include "browser/pane_dialogs.h"

#include <gtkmm/filechooserdialog.h>
#include <gtkmm/filefilter.h>
#include <gtkmm/messagedialog.h>
#include <gtk/gtk.h>

#include <glib.h>

namespace vesko {

namespace {

constexpr std::size_t max_name_chars = 100;

std::string with_extension(const std::string& name, const std::string& extension)
{
    const std::size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    return stem + extension;
}

// A save dialog in Chinese that asks before it overwrites a file.
class SaveDialog : public Gtk::FileChooserDialog {
public:
    SaveDialog(const char* title, Gtk::Window* parent) : Gtk::FileChooserDialog(title, Gtk::FILE_CHOOSER_ACTION_SAVE)
    {
        if (parent)
            set_transient_for(*parent);
        add_button("取消(_C)", Gtk::RESPONSE_CANCEL);
        add_button("保存(_S)", Gtk::RESPONSE_ACCEPT);
        set_default_response(Gtk::RESPONSE_ACCEPT);
        set_do_overwrite_confirmation(true);
        set_local_only(true);
    }
};

class GtkPaneDialogs final : public PaneDialogs {
public:
    std::optional<SaveTarget> ask_save_target(Gtk::Window* parent, const std::string& suggested_name) override
    {
        SaveDialog dialog("另存为", parent);

        auto complete = Gtk::FileFilter::create();
        complete->set_name("网页，全部 (*.mht)");
        complete->add_pattern("*.mht");
        complete->add_pattern("*.mhtml");
        auto html = Gtk::FileFilter::create();
        html->set_name("网页，仅 HTML (*.html)");
        html->add_pattern("*.html");
        html->add_pattern("*.htm");
        dialog.add_filter(complete);
        dialog.add_filter(html);
        dialog.set_filter(complete);
        dialog.set_current_name(with_extension(suggested_name, ".mht"));
        // Changing the type changes the proposed name's extension with it.
        dialog.property_filter().signal_changed().connect([&] {
            const bool is_html = dialog.get_filter() == html;
            dialog.set_current_name(with_extension(dialog.get_current_name(), is_html ? ".html" : ".mht"));
        });

        if (dialog.run() != Gtk::RESPONSE_ACCEPT)
            return std::nullopt;
        const std::string path = dialog.get_filename();
        if (path.empty())
            return std::nullopt;
        return SaveTarget{path, dialog.get_filter() == html ? SaveFormat::HtmlOnly : SaveFormat::CompletePage};
    }

    std::optional<std::string> ask_download_target(Gtk::Window* parent, const std::string& suggested_name) override
    {
        SaveDialog dialog("保存下载的文件", parent);
        dialog.set_current_name(suggested_name.empty() ? "下载" : suggested_name);
        if (const char* downloads = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD))
            dialog.set_current_folder(downloads);
        if (dialog.run() != Gtk::RESPONSE_ACCEPT)
            return std::nullopt;
        const std::string path = dialog.get_filename();
        if (path.empty())
            return std::nullopt;
        return path;
    }

    void tell_failure(Gtk::Window* parent, const std::string& message) override
    {
        Gtk::MessageDialog dialog(message, false, Gtk::MESSAGE_ERROR, Gtk::BUTTONS_OK, true);
        dialog.set_title("Vesko浏览器");
        if (parent)
            dialog.set_transient_for(*parent);
        dialog.run();
    }

    Glib::RefPtr<Gtk::PageSetup> ask_page_setup(Gtk::Window* parent, const Glib::RefPtr<Gtk::PageSetup>& current,
                                                const Glib::RefPtr<Gtk::PrintSettings>& settings) override
    {
        // When cancelled, GTK's dialog answers with the setup it started from,
        // which changes nothing.
        GtkPageSetup* chosen = gtk_print_run_page_setup_dialog(parent ? parent->gobj() : nullptr,
                                                               current ? current->gobj() : nullptr,
                                                               settings ? settings->gobj() : nullptr);
        return Glib::wrap(chosen);
    }
};

} // namespace

std::unique_ptr<PaneDialogs> make_gtk_pane_dialogs()
{
    return std::make_unique<GtkPaneDialogs>();
}

std::string file_name_from_title(const std::string& title)
{
    gchar* valid = g_utf8_make_valid(title.data(), static_cast<gssize>(title.size()));
    std::string out;
    // Runs of white space become one space, runs of characters that no file
    // name may hold one "_"; neither at the ends.
    char pending = 0;
    for (const gchar* p = valid; *p; p = g_utf8_next_char(p)) {
        const gunichar c = g_utf8_get_char(p);
        const bool space = g_unichar_isspace(c);
        const bool forbidden = !space && (c < 0x20 || c == 0x7f || c == '/' || c == '\\' || c == ':' || c == '*' ||
                                          c == '?' || c == '"' || c == '<' || c == '>' || c == '|');
        if (forbidden || space) {
            if (!out.empty() && pending != '_')
                pending = forbidden ? '_' : ' ';
            continue;
        }
        if (pending) {
            out += pending;
            pending = 0;
        }
        char buffer[6];
        out.append(buffer, static_cast<std::size_t>(g_unichar_to_utf8(c, buffer)));
        if (static_cast<std::size_t>(g_utf8_strlen(out.c_str(), -1)) >= max_name_chars)
            break;
    }
    g_free(valid);
    // A name of dots only would mean a folder.
    if (out.find_first_not_of('.') == std::string::npos)
        return "网页";
    return out;
}

} // namespace vesko
