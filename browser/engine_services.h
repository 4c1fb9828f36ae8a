#pragma once

// Internal to browser/: what every pane of one engine shares — the engine
// context, the dialogs, the page setup chosen for this run, and the windows
// the pane opens (separate browser windows, print previews).

#include "browser/pane_dialogs.h"
#include "browser/downloads.h"
#include "browser/web_engine.h"

#include <sigc++/trackable.h>

#include <webkit2/webkit2.h>

#include <memory>
#include <vector>

namespace vesko {

class PrintPreviewWindow;
class SeparateWindow;
class WebKitBrowserPane;

class EngineServices {
public:
    EngineServices(WebKitWebContext* context, std::unique_ptr<PaneDialogs> dialogs);
    ~EngineServices();
    EngineServices(const EngineServices&) = delete;
    EngineServices& operator=(const EngineServices&) = delete;

    WebKitWebContext* context() const { return m_context; }
    PaneDialogs& dialogs() { return *m_dialogs; }

    // Kept for the rest of the run, never saved.
    Glib::RefPtr<Gtk::PageSetup> page_setup;
    Glib::RefPtr<Gtk::PrintSettings> print_settings;

    // A page asked for a new window: `view` is the new, related view, which
    // the window shows once the engine says it is ready.
    void open_separate_window(WebKitWebView* view, const WebKitBrowserPane& opener);
    // Ends a separate window from the loop (it may be asking from inside one
    // of its own handlers).
    void close_separate_window(SeparateWindow* window);
    std::size_t separate_window_count() const { return m_windows.size(); }
    SeparateWindow* separate_window(std::size_t index) { return index < m_windows.size() ? m_windows[index].get() : nullptr; }

    void add_preview(std::unique_ptr<PrintPreviewWindow> preview);
    const Downloads& downloads() const { return m_downloads; }
    std::size_t preview_count() const { return m_previews.size(); }
    PrintPreviewWindow* preview(std::size_t index) { return index < m_previews.size() ? m_previews[index].get() : nullptr; }

private:
    template <class Window>
    void destroy_later(std::vector<std::unique_ptr<Window>>& windows, Window* window);

    WebKitWebContext* m_context;
    std::unique_ptr<PaneDialogs> m_dialogs;
    Downloads m_downloads;
    std::vector<std::unique_ptr<SeparateWindow>> m_windows;
    std::vector<std::unique_ptr<PrintPreviewWindow>> m_previews;
    sigc::trackable m_alive; // ends callbacks queued on the loop with the services
};

} // namespace vesko
