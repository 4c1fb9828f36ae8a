#pragma once

#include "browser/browser_pane.h"
#include "browser/pane_dialogs.h"

#include <memory>
#include <string>

namespace vesko {

// The fixed addresses a pane works with.
struct PaneAddresses {
    std::string initial;      // opened at creation unless empty
    std::string home;         // Home command
    std::string search;       // Search command
    std::string search_query; // typed words are appended to it, encoded
};

// The web engine of one run: one sandboxed, ephemeral (nothing kept on disk)
// engine context shared by every pane and every separate window.

class WebEngine {
public:
    // `dialogs` asks the user where to save and how to print; the GTK dialogs
    // when null.
    explicit WebEngine(std::unique_ptr<PaneDialogs> dialogs = nullptr);
    ~WebEngine();
    WebEngine(const WebEngine&) = delete;
    WebEngine& operator=(const WebEngine&) = delete;

    // A pane on the real engine. It starts offline and silent at text size 2,
    // in that order, then opens addresses.initial.
    std::unique_ptr<BrowserPane> create_pane(const PaneAddresses& addresses);

    // Separate browser windows that pages have opened, and print previews.
    std::size_t separate_window_count() const;
    BrowserPane* separate_window_pane(std::size_t index);
    Gtk::Window* separate_window(std::size_t index);
    std::size_t preview_count() const;

    struct Impl;

private:
    std::unique_ptr<Impl> m_impl;
};

} // namespace vesko
