#pragma once

// Internal to browser/: a browser window that a page opened, showing its web
// view with the same care as the Main window's pane (error pages, no dialogs
// of the page's own while silent), captioned by its page's title.

#include "browser/webkit_browser_pane.h"

#include <gtkmm/window.h>

#include <memory>

namespace vesko {

class EngineServices;

class SeparateWindow : public Gtk::Window {
public:
    SeparateWindow(EngineServices& services, WebKitWebView* view, const WebKitBrowserPane& opener);
    ~SeparateWindow() override;

    WebKitBrowserPane& pane() { return *m_pane; }

private:
    static void on_ready_to_show(WebKitWebView* view, gpointer self);
    static void on_close(WebKitWebView* view, gpointer self);
    bool on_delete(GdkEventAny*);

    EngineServices& m_services;
    std::unique_ptr<WebKitBrowserPane> m_pane;
    gulong m_ready_handler = 0;
    gulong m_close_handler = 0;
};

} // namespace vesko
