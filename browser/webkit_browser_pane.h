#pragma once

// Internal to browser/: the pane on WebKitGTK. Everything outside browser/
// reaches it through BrowserPane and WebEngine.

#include "browser/browser_pane.h"
#include "browser/error_page.h"
#include "browser/gobject_ptr.h"
#include "browser/progress.h"
#include "browser/web_engine.h"

#include <sigc++/trackable.h>
#include <webkit2/webkit2.h>

#include <optional>
#include <string>
#include <vector>

namespace vesko {

class EngineServices;

class WebKitBrowserPane final : public BrowserPane {
public:
    // The Main window's pane: a view of its own, opening addresses.initial.
    WebKitBrowserPane(EngineServices& services, PaneAddresses addresses);
    // The pane of a separate window that `opener`'s page asked for, around the
    // related view the engine has made for it.
    WebKitBrowserPane(EngineServices& services, WebKitWebView* related_view, const WebKitBrowserPane& opener);
    ~WebKitBrowserPane() override;

    Gtk::Widget& widget() override;
    void exec(int command) override;
    void navigate_in_target(const std::string& address, const std::string& target_name) override;
    std::string url() const override;
    void set_url(const std::string& text) override;
    std::string status_text() const override;
    std::string caption() const override;
    int font_size() const override;
    void set_font_size(int level) override;
    bool offline() const override;
    void set_offline(bool offline) override;
    bool silent() const override;
    void set_silent(bool silent) override;

    WebKitWebView* view() const { return m_view.get(); }

private:
    void init_view();
    void open_in_target(const std::string& address, const std::string& target_name);
    void load(const std::string& address);
    void show_error_page(LoadFailure failure, const std::string& address, const std::string& detail);
    void raise_before_navigate(const std::string& address);
    bool decide_policy(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type);
    void load_changed(WebKitLoadEvent event);
    bool load_failed(const std::string& address, const GError* error);
    void update_command_state();

    static gboolean on_decide_policy(WebKitWebView*, WebKitPolicyDecision*, WebKitPolicyDecisionType, gpointer);
    static void on_load_changed(WebKitWebView*, WebKitLoadEvent, gpointer);
    static gboolean on_load_failed(WebKitWebView*, WebKitLoadEvent, gchar*, GError*, gpointer);
    static gboolean on_load_failed_with_tls_errors(WebKitWebView*, gchar*, GTlsCertificate*, GTlsCertificateFlags,
                                                   gpointer);
    static void on_progress_notify(WebKitWebView*, GParamSpec*, gpointer);
    static void on_responsive_notify(WebKitWebView*, GParamSpec*, gpointer);
    static void on_title_notify(WebKitWebView*, GParamSpec*, gpointer);
    static void on_mouse_target_changed(WebKitWebView*, WebKitHitTestResult*, guint, gpointer);
    static gboolean on_script_dialog(WebKitWebView*, WebKitScriptDialog*, gpointer);
    static gboolean on_authenticate(WebKitWebView*, WebKitAuthenticationRequest*, gpointer);
    static void on_web_process_terminated(WebKitWebView*, WebKitWebProcessTerminationReason, gpointer);
    static GtkWidget* on_create(WebKitWebView*, WebKitNavigationAction*, gpointer);
    static void on_back_forward_changed(WebKitBackForwardList*, WebKitBackForwardListItem*, gpointer, gpointer);

    EngineServices& m_services;
    PaneAddresses m_addresses;
    GObjectPtr<WebKitWebView> m_view;
    std::vector<gulong> m_view_handlers;
    gulong m_back_forward_handler = 0;
    sigc::trackable m_alive; // ends callbacks queued on the loop with the pane

    std::optional<std::string> m_event_url;     // while before-navigate / document-complete run
    std::optional<std::string> m_event_caption; // while title-change runs
    std::string m_status_text;
    int m_font_size = initial_text_size_level;
    bool m_offline = false;
    bool m_silent = false;
    bool m_can_go_back = false;
    bool m_can_go_forward = false;
    bool m_loading = false; // between the engine's load start and finish

    bool m_showing_error_page = false;    // our error page is loading
    std::string m_load_after_termination; // loaded once the stuck process has gone
    std::string m_requested_load;         // asked of the engine, not yet decided on
};

} // namespace vesko
