#include "browser/engine_services.h"

#include "browser/print_preview.h"
#include "browser/separate_window.h"

#include <glibmm/main.h>

#include <algorithm>

namespace vesko {

EngineServices::EngineServices(WebKitWebContext* context, std::unique_ptr<PaneDialogs> dialogs)
    : m_context(context), m_dialogs(std::move(dialogs)), m_downloads(context, *m_dialogs)
{
}

EngineServices::~EngineServices()
{
    // Windows first: their panes still use the dialogs and the context.
    m_previews.clear();
    m_windows.clear();
}

void EngineServices::open_separate_window(WebKitWebView* view, const WebKitBrowserPane& opener)
{
    m_windows.push_back(std::make_unique<SeparateWindow>(*this, view, opener));
}

void EngineServices::close_separate_window(SeparateWindow* window)
{
    window->hide();
    destroy_later(m_windows, window);
}

void EngineServices::add_preview(std::unique_ptr<PrintPreviewWindow> preview)
{
    PrintPreviewWindow* raw = preview.get();
    // A closed preview goes at once, and with it its temporary file.
    raw->signal_hide().connect([this, raw] { destroy_later(m_previews, raw); });
    m_previews.push_back(std::move(preview));
}

template <class Window>
void EngineServices::destroy_later(std::vector<std::unique_ptr<Window>>& windows, Window* window)
{
    // From the loop: the window may be asking from inside one of its own handlers.
    Glib::signal_idle().connect_once(sigc::track_obj(
        [&windows, window] {
            auto it = std::find_if(windows.begin(), windows.end(), [&](const auto& w) { return w.get() == window; });
            if (it != windows.end())
                windows.erase(it);
        },
        m_alive));
}

} // namespace vesko
