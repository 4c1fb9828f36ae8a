#include "browser/webkit_browser_pane.h"

#include "browser/address_reading.h"
#include "browser/engine_services.h"
#include "browser/error_page.h"
#include "browser/page_commands.h"
#include "browser/render_policy.h"
#include "browser/zoom.h"

#include <glibmm/main.h>
#include <gtkmm/widget.h>

#include <cmath>
#include <cstring>
#include <exception>
#include <utility>

namespace vesko {

namespace {

// Schemes whose pages come from this machine and so load while offline.
bool is_local_scheme(const std::string& uri)
{
    for (const char* scheme : {"about:", "data:", "file:", "blob:"}) {
        if (g_ascii_strncasecmp(uri.c_str(), scheme, std::strlen(scheme)) == 0)
            return true;
    }
    return false;
}

LoadFailure classify(const GError* error)
{
    if (error->domain == G_RESOLVER_ERROR)
        return LoadFailure::HostNotFound;
    if (error->domain == G_IO_ERROR) {
        switch (error->code) {
        case G_IO_ERROR_CONNECTION_REFUSED: return LoadFailure::ConnectionRefused;
        case G_IO_ERROR_TIMED_OUT: return LoadFailure::TimedOut;
        case G_IO_ERROR_HOST_NOT_FOUND: return LoadFailure::HostNotFound;
        default: break;
        }
    }
    if (error->domain == G_TLS_ERROR)
        return LoadFailure::Certificate;
    if (error->domain == WEBKIT_NETWORK_ERROR && error->code == WEBKIT_NETWORK_ERROR_UNKNOWN_PROTOCOL)
        return LoadFailure::UnsupportedScheme;
    if (error->domain == WEBKIT_POLICY_ERROR && error->code == WEBKIT_POLICY_ERROR_CANNOT_USE_RESTRICTED_PORT)
        return LoadFailure::ConnectionRefused;
    // The network process reports most transport failures with its own codes;
    // its message still tells them apart.
    const std::string message = to_string(error->message);
    auto contains = [&](const char* word) { return message.find(word) != std::string::npos; };
    if (contains("resolve") || contains("Resolving") || contains("not known"))
        return LoadFailure::HostNotFound;
    if (contains("refused"))
        return LoadFailure::ConnectionRefused;
    if (contains("timed out") || contains("Timeout"))
        return LoadFailure::TimedOut;
    return LoadFailure::Other;
}

// Runs a member from a C callback without letting an exception unwind into GLib.
template <class F>
void guarded(F&& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        g_warning("browser pane handler: %s", e.what());
    } catch (...) {
        g_warning("browser pane handler: unknown exception");
    }
}

} // namespace

WebKitBrowserPane::WebKitBrowserPane(EngineServices& services, PaneAddresses addresses)
    : m_services(services), m_addresses(std::move(addresses))
{
    m_view = GObjectPtr<WebKitWebView>::retain(WEBKIT_WEB_VIEW(webkit_web_view_new_with_context(services.context())));
    init_view();

    set_offline(true);
    set_silent(true);
    set_font_size(initial_text_size_level);

    if (!m_addresses.initial.empty())
        set_url(m_addresses.initial);
}

WebKitBrowserPane::WebKitBrowserPane(EngineServices& services, WebKitWebView* related_view,
                                     const WebKitBrowserPane& opener)
    : m_services(services), m_addresses(opener.m_addresses)
{
    // The engine made the view and loads it itself; it behaves as its opener does.
    m_view = GObjectPtr<WebKitWebView>::retain(related_view);
    init_view();
    set_offline(opener.m_offline);
    set_silent(opener.m_silent);
    set_font_size(opener.m_font_size);
}

WebKitBrowserPane::~WebKitBrowserPane()
{
    WebKitWebView* view = m_view.get();
    for (gulong id : m_view_handlers)
        g_signal_handler_disconnect(view, id);
    if (m_back_forward_handler)
        g_signal_handler_disconnect(webkit_web_view_get_back_forward_list(view), m_back_forward_handler);
    webkit_web_view_stop_loading(view);
    // Destroyed, not just released: whatever still holds the view (its
    // container, the engine's bookkeeping for a shown view) lets go of it.
    gtk_widget_destroy(GTK_WIDGET(view));
}

void WebKitBrowserPane::init_view()
{
    WebKitWebView* view = m_view.get();
    gtk_widget_set_name(GTK_WIDGET(view), "超文本浏览框1");

    WebKitSettings* settings = webkit_web_view_get_settings(view);
    webkit_settings_set_zoom_text_only(settings, TRUE);
    webkit_settings_set_enable_developer_extras(settings, FALSE);
    apply_render_policy(settings);

    auto connect = [&](const char* signal, GCallback callback) {
        m_view_handlers.push_back(g_signal_connect(view, signal, callback, this));
    };
    connect("decide-policy", G_CALLBACK(&WebKitBrowserPane::on_decide_policy));
    connect("load-changed", G_CALLBACK(&WebKitBrowserPane::on_load_changed));
    connect("load-failed", G_CALLBACK(&WebKitBrowserPane::on_load_failed));
    connect("load-failed-with-tls-errors", G_CALLBACK(&WebKitBrowserPane::on_load_failed_with_tls_errors));
    connect("notify::estimated-load-progress", G_CALLBACK(&WebKitBrowserPane::on_progress_notify));
    connect("notify::title", G_CALLBACK(&WebKitBrowserPane::on_title_notify));
    connect("mouse-target-changed", G_CALLBACK(&WebKitBrowserPane::on_mouse_target_changed));
    connect("script-dialog", G_CALLBACK(&WebKitBrowserPane::on_script_dialog));
    connect("authenticate", G_CALLBACK(&WebKitBrowserPane::on_authenticate));
    connect("web-process-terminated", G_CALLBACK(&WebKitBrowserPane::on_web_process_terminated));
    connect("create", G_CALLBACK(&WebKitBrowserPane::on_create));
    connect("notify::is-web-process-responsive", G_CALLBACK(&WebKitBrowserPane::on_responsive_notify));

    m_back_forward_handler = g_signal_connect(webkit_web_view_get_back_forward_list(view), "changed",
                                              G_CALLBACK(&WebKitBrowserPane::on_back_forward_changed), this);
}

Gtk::Widget& WebKitBrowserPane::widget()
{
    return *Glib::wrap(GTK_WIDGET(m_view.get()));
}

void WebKitBrowserPane::exec(int command)
{
    WebKitWebView* view = m_view.get();
    switch (command) {
    case static_cast<int>(BrowserCommand::Forward):
        if (webkit_web_view_can_go_forward(view))
            webkit_web_view_go_forward(view);
        break;
    case static_cast<int>(BrowserCommand::Back):
        if (webkit_web_view_can_go_back(view))
            webkit_web_view_go_back(view);
        break;
    case static_cast<int>(BrowserCommand::Home):
        load(m_addresses.home);
        break;
    case static_cast<int>(BrowserCommand::Search):
        load(m_addresses.search);
        break;
    case static_cast<int>(BrowserCommand::Refresh):
        // On an error page this tries the address that failed, not the page.
        if (webkit_web_view_get_uri(view))
            webkit_web_view_reload(view);
        break;
    case static_cast<int>(BrowserCommand::Stop):
        // A page whose script never ends stops only with its process.
        if (!webkit_web_view_get_is_web_process_responsive(view))
            webkit_web_view_terminate_web_process(view);
        else
            webkit_web_view_stop_loading(view);
        break;
    case static_cast<int>(BrowserCommand::SaveAs):
        save_page_as(m_services, view);
        break;
    case static_cast<int>(BrowserCommand::Print):
        print_page(m_services, view);
        break;
    case static_cast<int>(BrowserCommand::PrintPreview):
        preview_page(m_services, view);
        break;
    case static_cast<int>(BrowserCommand::PageSetup):
        set_up_page(m_services, view);
        break;
    default:
        break;
    }
}

void WebKitBrowserPane::navigate_in_target(const std::string& address, const std::string& target_name)
{
    const TypedAddress typed = read_typed_address(address, m_addresses.search_query);
    switch (typed.kind) {
    case TypedAddress::Kind::Nothing:
        open_in_target("about:blank", target_name);
        break;
    case TypedAddress::Kind::Load:
        open_in_target(typed.address, target_name);
        break;
    case TypedAddress::Kind::Refuse:
        // Never handed to a window by name: a script address would run in
        // whatever page bears it.
        m_services.dialogs().tell_failure(nullptr, "无法打开该地址：" + typed.address);
        break;
    }
}

void WebKitBrowserPane::open_in_target(const std::string& address, const std::string& target_name)
{
    // The engine's own targeting finds a frame or window of that name, or
    // opens a new one. The call runs in a world of ours, where the page's
    // scripts cannot replace window.open, and the address and the name travel
    // as values, never as script text.
    GVariantBuilder arguments;
    g_variant_builder_init(&arguments, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&arguments, "{sv}", "address", g_variant_new_string(address.c_str()));
    g_variant_builder_add(&arguments, "{sv}", "name", g_variant_new_string(target_name.c_str()));
    static constexpr const char* body = "window.open(address, name); return true;";
    // The engine copies the values before it returns; the reference is ours.
    GVariant* values = g_variant_ref_sink(g_variant_builder_end(&arguments));
    webkit_web_view_call_async_javascript_function(m_view.get(), body, -1, values, "vesko-targeting", nullptr,
                                                   nullptr, nullptr, nullptr);
    g_variant_unref(values);
}

std::string WebKitBrowserPane::url() const
{
    if (m_event_url)
        return *m_event_url;
    return to_string(webkit_web_view_get_uri(m_view.get()));
}

void WebKitBrowserPane::set_url(const std::string& text)
{
    const TypedAddress typed = read_typed_address(text, m_addresses.search_query);
    switch (typed.kind) {
    case TypedAddress::Kind::Nothing:
        break;
    case TypedAddress::Kind::Load:
        load(typed.address);
        break;
    case TypedAddress::Kind::Refuse:
        // Reported like a navigation, so that the window tells where it was
        // asked to go before the error page settles it.
        raise_before_navigate(typed.address);
        show_error_page(typed.reason == TypedAddress::RefuseReason::Script ? LoadFailure::TypedScript
                        : typed.reason == TypedAddress::RefuseReason::Malformed ? LoadFailure::Malformed
                                                                                : LoadFailure::UnsupportedScheme,
                        typed.address, {});
        break;
    }
}

void WebKitBrowserPane::load(const std::string& address)
{
    WebKitWebView* view = m_view.get();
    if (!webkit_web_view_get_is_web_process_responsive(view)) {
        // The page's process is stuck (a script that never ends, say) and
        // would never take the load: end it, and load in a new one.
        m_load_after_termination = address;
        webkit_web_view_terminate_web_process(view);
        return;
    }
    // Kept until the engine decides on it: should the process turn out to be
    // stuck before then, the load goes to a new one.
    m_requested_load = address;
    webkit_web_view_load_uri(view, address.c_str());
}

void WebKitBrowserPane::on_responsive_notify(WebKitWebView* view, GParamSpec*, gpointer self)
{
    auto* pane = static_cast<WebKitBrowserPane*>(self);
    if (webkit_web_view_get_is_web_process_responsive(view) || pane->m_requested_load.empty())
        return;
    pane->m_load_after_termination = std::exchange(pane->m_requested_load, std::string());
    webkit_web_view_terminate_web_process(view);
}

std::string WebKitBrowserPane::status_text() const
{
    return m_status_text;
}

std::string WebKitBrowserPane::caption() const
{
    if (m_event_caption)
        return *m_event_caption;
    std::string title = to_string(webkit_web_view_get_title(m_view.get()));
    return title.empty() ? to_string(webkit_web_view_get_uri(m_view.get())) : title;
}

int WebKitBrowserPane::font_size() const
{
    return m_font_size;
}

void WebKitBrowserPane::set_font_size(int level)
{
    m_font_size = clamp_text_size_level(level);
    webkit_web_view_set_zoom_level(m_view.get(), text_zoom_factor(m_font_size));
}

bool WebKitBrowserPane::offline() const
{
    return m_offline;
}

void WebKitBrowserPane::set_offline(bool offline)
{
    m_offline = offline;
}

bool WebKitBrowserPane::silent() const
{
    return m_silent;
}

void WebKitBrowserPane::set_silent(bool silent)
{
    m_silent = silent;
}

void WebKitBrowserPane::show_error_page(LoadFailure failure, const std::string& address, const std::string& detail)
{
    m_showing_error_page = true;
    const std::string html = error_page_html(failure, address, detail);
    // Shown in place of the address, which stays the page's address: Refresh
    // tries it again.
    webkit_web_view_load_alternate_html(m_view.get(), html.c_str(), address.c_str(), nullptr);
}

void WebKitBrowserPane::raise_before_navigate(const std::string& address)
{
    m_event_url = address;
    signal_before_navigate().emit();
    m_event_url.reset();
}

// --- engine callbacks ---------------------------------------------------------

gboolean WebKitBrowserPane::on_decide_policy(WebKitWebView*, WebKitPolicyDecision* decision,
                                             WebKitPolicyDecisionType type, gpointer self)
{
    gboolean handled = FALSE;
    guarded([&] { handled = static_cast<WebKitBrowserPane*>(self)->decide_policy(decision, type); });
    return handled;
}

bool WebKitBrowserPane::decide_policy(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type)
{
    if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
        // What the engine cannot show, or what the server hands over as an
        // attachment, is saved instead.
        auto* response_decision = WEBKIT_RESPONSE_POLICY_DECISION(decision);
        WebKitURIResponse* response = webkit_response_policy_decision_get_response(response_decision);
        SoupMessageHeaders* headers = webkit_uri_response_get_http_headers(response);
        const char* disposition = headers ? soup_message_headers_get_one(headers, "Content-Disposition") : nullptr;
        const bool attachment = disposition && g_ascii_strncasecmp(disposition, "attachment", 10) == 0;
        if (attachment || !webkit_response_policy_decision_is_mime_type_supported(response_decision)) {
            webkit_policy_decision_download(decision);
            return true;
        }
        return false;
    }
    if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION)
        return false;
    WebKitNavigationAction* action =
        webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    const std::string address = to_string(webkit_uri_request_get_uri(webkit_navigation_action_get_request(action)));
    m_requested_load.clear(); // the process is taking loads

    raise_before_navigate(address);

    if (m_offline && !m_showing_error_page && !is_local_scheme(address)) {
        webkit_policy_decision_ignore(decision);
        // Shown from the loop: the engine is still inside its decision.
        Glib::signal_idle().connect_once(sigc::track_obj([this, address] { show_error_page(LoadFailure::Offline, address, {}); }, m_alive));
        return true;
    }
    return false;
}

void WebKitBrowserPane::on_load_changed(WebKitWebView*, WebKitLoadEvent event, gpointer self)
{
    guarded([&] { static_cast<WebKitBrowserPane*>(self)->load_changed(event); });
}

void WebKitBrowserPane::load_changed(WebKitLoadEvent event)
{
    if (event == WEBKIT_LOAD_STARTED) {
        m_loading = true;
        return;
    }
    if (event != WEBKIT_LOAD_FINISHED)
        return;
    m_loading = false;
    m_showing_error_page = false;
    m_event_url = to_string(webkit_web_view_get_uri(m_view.get()));
    signal_document_complete().emit();
    m_event_url.reset();
}

gboolean WebKitBrowserPane::on_load_failed(WebKitWebView*, WebKitLoadEvent, gchar* failing_uri, GError* error,
                                           gpointer self)
{
    gboolean handled = FALSE;
    guarded([&] { handled = static_cast<WebKitBrowserPane*>(self)->load_failed(to_string(failing_uri), error); });
    return handled;
}

bool WebKitBrowserPane::load_failed(const std::string& address, const GError* error)
{
    // A stopped or replaced load, or one turned into a download, is no failure.
    if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED) ||
        g_error_matches(error, WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE) ||
        g_error_matches(error, WEBKIT_PLUGIN_ERROR, WEBKIT_PLUGIN_ERROR_WILL_HANDLE_LOAD))
        return false;
    if (m_showing_error_page)
        return false; // never an error page for the error page
    // A secure connection the network layer gave up on is, as often as not,
    // a certificate the engine would not accept.
    const LoadFailure failure =
        g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED) && g_str_has_prefix(address.c_str(), "https:")
            ? LoadFailure::SecureConnection
            : classify(error);
    show_error_page(failure, address, to_string(error->message));
    return true;
}

gboolean WebKitBrowserPane::on_load_failed_with_tls_errors(WebKitWebView*, gchar* failing_uri, GTlsCertificate*,
                                                           GTlsCertificateFlags, gpointer self)
{
    // Never accepted, whatever Silent says: the page is refused and our error
    // page takes its place.
    guarded([&] {
        static_cast<WebKitBrowserPane*>(self)->show_error_page(LoadFailure::Certificate, to_string(failing_uri), {});
    });
    return TRUE;
}

void WebKitBrowserPane::on_progress_notify(WebKitWebView* view, GParamSpec*, gpointer self)
{
    auto* pane = static_cast<WebKitBrowserPane*>(self);
    // The engine resets its estimate before a navigation has even been
    // decided on; progress is only news while a load is under way.
    if (!pane->m_loading)
        return;
    const double fraction = webkit_web_view_get_estimated_load_progress(view);
    guarded([&] { pane->signal_progress_change().emit(progress_percent(fraction)); });
}

void WebKitBrowserPane::on_title_notify(WebKitWebView* view, GParamSpec*, gpointer self)
{
    auto* pane = static_cast<WebKitBrowserPane*>(self);
    guarded([&] {
        // A page without a title (or one whose title has not come yet) is
        // called by its address.
        std::string title = to_string(webkit_web_view_get_title(view));
        pane->m_event_caption = title.empty() ? to_string(webkit_web_view_get_uri(view)) : title;
        pane->signal_title_change().emit();
        pane->m_event_caption.reset();
    });
}

void WebKitBrowserPane::on_mouse_target_changed(WebKitWebView*, WebKitHitTestResult* hit, guint, gpointer self)
{
    auto* pane = static_cast<WebKitBrowserPane*>(self);
    std::string text = webkit_hit_test_result_context_is_link(hit) ? to_string(webkit_hit_test_result_get_link_uri(hit))
                                                                   : std::string();
    if (text == pane->m_status_text)
        return;
    pane->m_status_text = std::move(text);
    guarded([&] { pane->signal_status_text_change().emit(); });
}

gboolean WebKitBrowserPane::on_script_dialog(WebKitWebView*, WebKitScriptDialog* dialog, gpointer self)
{
    auto* pane = static_cast<WebKitBrowserPane*>(self);
    if (!pane->m_silent)
        return FALSE; // the engine's own dialog
    // Answered without showing anything: a confirm or prompt is declined, and a
    // page that asks before being left may be left.
    switch (webkit_script_dialog_get_dialog_type(dialog)) {
    case WEBKIT_SCRIPT_DIALOG_CONFIRM:
        webkit_script_dialog_confirm_set_confirmed(dialog, FALSE);
        break;
    case WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM:
        webkit_script_dialog_confirm_set_confirmed(dialog, TRUE);
        break;
    default:
        break;
    }
    return TRUE;
}

gboolean WebKitBrowserPane::on_authenticate(WebKitWebView*, WebKitAuthenticationRequest* request, gpointer self)
{
    auto* pane = static_cast<WebKitBrowserPane*>(self);
    if (!pane->m_silent)
        return FALSE;
    // Go on without credentials: the load ends with the server's own page
    // for those who may not enter, and no dialog is shown.
    webkit_authentication_request_authenticate(request, nullptr);
    return TRUE;
}

void WebKitBrowserPane::on_web_process_terminated(WebKitWebView* view, WebKitWebProcessTerminationReason, gpointer self)
{
    auto* pane = static_cast<WebKitBrowserPane*>(self);
    std::string address = to_string(webkit_web_view_get_uri(view));
    pane->m_loading = false;
    // Ended on purpose to load something else: that load, not the crash page.
    std::string next = std::exchange(pane->m_load_after_termination, std::string());
    // The engine is still tidying up after its process; the next page is
    // loaded from the loop, in a new process.
    Glib::signal_idle().connect_once(sigc::track_obj(
        [pane, address, next] {
            guarded([&] {
                pane->m_showing_error_page = false;
                if (!next.empty())
                    webkit_web_view_load_uri(pane->m_view.get(), next.c_str());
                else
                    pane->show_error_page(LoadFailure::ProcessGone, address, {});
            });
        },
        pane->m_alive));
}

GtkWidget* WebKitBrowserPane::on_create(WebKitWebView* view, WebKitNavigationAction*, gpointer self)
{
    // A page's request for a window that the engine's popup rules let through
    // is never refused: it opens a separate browser window.
    auto* pane = static_cast<WebKitBrowserPane*>(self);
    auto* created = WEBKIT_WEB_VIEW(webkit_web_view_new_with_related_view(view));
    guarded([&] { pane->m_services.open_separate_window(created, *pane); });
    return GTK_WIDGET(created);
}

void WebKitBrowserPane::on_back_forward_changed(WebKitBackForwardList*, WebKitBackForwardListItem*, gpointer,
                                                gpointer self)
{
    guarded([&] { static_cast<WebKitBrowserPane*>(self)->update_command_state(); });
}

void WebKitBrowserPane::update_command_state()
{
    const bool can_forward = webkit_web_view_can_go_forward(m_view.get());
    const bool can_back = webkit_web_view_can_go_back(m_view.get());
    if (can_forward != m_can_go_forward) {
        m_can_go_forward = can_forward;
        signal_command_state_change().emit(0, can_forward ? 1 : 0);
    }
    if (can_back != m_can_go_back) {
        m_can_go_back = can_back;
        signal_command_state_change().emit(1, can_back ? 1 : 0);
    }
}

} // namespace vesko
