#include "browser/web_engine.h"

#include "browser/gobject_ptr.h"
#include "browser/engine_services.h"
#include "browser/render_policy.h"
#include "browser/separate_window.h"
#include "browser/webkit_browser_pane.h"

#include <webkit2/webkit2.h>

namespace vesko {

struct WebEngine::Impl {
    GObjectPtr<WebKitWebContext> context;
    std::unique_ptr<EngineServices> services;
};

WebEngine::WebEngine(std::unique_ptr<PaneDialogs> dialogs) : m_impl(std::make_unique<Impl>())
{
    apply_engine_render_policy();
    // Ephemeral: cookies, caches and local storage live in memory only.
    m_impl->context = GObjectPtr<WebKitWebContext>::adopt(webkit_web_context_new_ephemeral());
    // Must come before the first web process is started.
    webkit_web_context_set_sandbox_enabled(m_impl->context.get(), TRUE);
    webkit_web_context_set_cache_model(m_impl->context.get(), WEBKIT_CACHE_MODEL_WEB_BROWSER);
    static const char* const languages[] = {"zh-CN", "zh", "en", nullptr};
    webkit_web_context_set_preferred_languages(m_impl->context.get(), languages);
    WebKitWebsiteDataManager* data = webkit_web_context_get_website_data_manager(m_impl->context.get());
    webkit_website_data_manager_set_tls_errors_policy(data, WEBKIT_TLS_ERRORS_POLICY_FAIL);
    m_impl->services =
        std::make_unique<EngineServices>(m_impl->context.get(), dialogs ? std::move(dialogs) : make_gtk_pane_dialogs());
}

WebEngine::~WebEngine() = default;

std::unique_ptr<BrowserPane> WebEngine::create_pane(const PaneAddresses& addresses)
{
    return std::make_unique<WebKitBrowserPane>(*m_impl->services, addresses);
}

std::size_t WebEngine::separate_window_count() const
{
    return m_impl->services->separate_window_count();
}

BrowserPane* WebEngine::separate_window_pane(std::size_t index)
{
    SeparateWindow* w = m_impl->services->separate_window(index);
    return w ? &w->pane() : nullptr;
}

Gtk::Window* WebEngine::separate_window(std::size_t index)
{
    return m_impl->services->separate_window(index);
}

std::size_t WebEngine::preview_count() const
{
    return m_impl->services->preview_count();
}

} // namespace vesko
