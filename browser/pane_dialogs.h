#pragma once

// The questions the pane asks the user: where to save a page or a download,
// the page setup, and the print dialog. The real ones are GTK dialogs; tests
// answer them instead.

#include <gtkmm/pagesetup.h>
#include <gtkmm/printsettings.h>
#include <gtkmm/window.h>

#include <memory>
#include <optional>
#include <string>

namespace vesko {

enum class SaveFormat {
    CompletePage, // the page with its pictures and styles, as one MHTML file
    HtmlOnly,     // the page's own HTML, exactly as it was received
};

struct SaveTarget {
    std::string path;
    SaveFormat format = SaveFormat::CompletePage;
};

class PaneDialogs {
public:
    virtual ~PaneDialogs() = default;

    // Where to save the page; nothing when cancelled. The dialog has asked
    // before overwriting a file.
    virtual std::optional<SaveTarget> ask_save_target(Gtk::Window* parent, const std::string& suggested_name) = 0;

    // Where to save a download; nothing when cancelled.
    virtual std::optional<std::string> ask_download_target(Gtk::Window* parent,
                                                           const std::string& suggested_name) = 0;

    // The page setup chosen, starting from `current`; nothing when cancelled.
    virtual Glib::RefPtr<Gtk::PageSetup> ask_page_setup(Gtk::Window* parent,
                                                        const Glib::RefPtr<Gtk::PageSetup>& current,
                                                        const Glib::RefPtr<Gtk::PrintSettings>& settings) = 0;

    // Tells the user that something they asked for failed, and why.
    virtual void tell_failure(Gtk::Window* parent, const std::string& message) = 0;

    // Settings to print with at once, without the print dialog; null to show
    // the print dialog. The real dialogs always show it.
    virtual Glib::RefPtr<Gtk::PrintSettings> print_without_dialog() { return {}; }
};

// The GTK dialogs, in Chinese.
std::unique_ptr<PaneDialogs> make_gtk_pane_dialogs();

// A file name for saving, made from a page title: characters no file name may
// hold are replaced, white space is folded, and it is kept short; "网页" when
// nothing is left.
std::string file_name_from_title(const std::string& title);

} // namespace vesko
