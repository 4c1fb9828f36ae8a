#include "browser/separate_window.h"

#include "browser/display_text.h"
#include "browser/engine_services.h"

namespace vesko {

namespace {
constexpr int default_width = 800;
constexpr int default_height = 600;
} // namespace

SeparateWindow::SeparateWindow(EngineServices& services, WebKitWebView* view, const WebKitBrowserPane& opener)
    : m_services(services), m_pane(std::make_unique<WebKitBrowserPane>(services, view, opener))
{
    set_title("Vesko浏览器");
    set_default_size(default_width, default_height);
    add(m_pane->widget());
    m_pane->widget().show();
    m_pane->signal_title_change().connect([this] { set_title(displayable_caption(m_pane->caption())); });
    m_ready_handler = g_signal_connect(view, "ready-to-show", G_CALLBACK(&SeparateWindow::on_ready_to_show), this);
    m_close_handler = g_signal_connect(view, "close", G_CALLBACK(&SeparateWindow::on_close), this);
    signal_delete_event().connect(sigc::mem_fun(*this, &SeparateWindow::on_delete), false);
}

SeparateWindow::~SeparateWindow()
{
    WebKitWebView* view = m_pane->view();
    g_signal_handler_disconnect(view, m_ready_handler);
    g_signal_handler_disconnect(view, m_close_handler);
    remove();
}

void SeparateWindow::on_ready_to_show(WebKitWebView* view, gpointer self)
{
    auto* window = static_cast<SeparateWindow*>(self);
    // The page's window features give the size (and place) where it asked for them.
    GdkRectangle geometry{};
    webkit_window_properties_get_geometry(webkit_web_view_get_window_properties(view), &geometry);
    if (geometry.width > 0 && geometry.height > 0)
        window->set_default_size(geometry.width, geometry.height);
    if (geometry.x > 0 || geometry.y > 0)
        window->move(geometry.x, geometry.y);
    window->show();
}

void SeparateWindow::on_close(WebKitWebView*, gpointer self)
{
    auto* window = static_cast<SeparateWindow*>(self);
    window->m_services.close_separate_window(window);
}

bool SeparateWindow::on_delete(GdkEventAny*)
{
    m_services.close_separate_window(this);
    return true;
}

} // namespace vesko
