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
    Glib::signal_idle().connect_once(sigc::track_obj(
        [this, window] {
            auto it =
                std::find_if(m_windows.begin(), m_windows.end(), [&](const auto& w) { return w.get() == window; });
            if (it != m_windows.end())
                m_windows.erase(it);
        },
        m_alive));
}

void EngineServices::add_preview(std::unique_ptr<PrintPreviewWindow> preview)
{
    PrintPreviewWindow* raw = preview.get();
    // A closed preview goes at once, and with it its temporary file.
    raw->signal_hide().connect([this, raw] {
        Glib::signal_idle().connect_once(sigc::track_obj(
            [this, raw] {
                auto it =
                    std::find_if(m_previews.begin(), m_previews.end(), [&](const auto& p) { return p.get() == raw; });
                if (it != m_previews.end())
                    m_previews.erase(it);
            },
            m_alive));
    });
    m_previews.push_back(std::move(preview));
}

} // namespace vesko
