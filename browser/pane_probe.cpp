#include "browser/pane_probe.h"

#include "browser/webkit_browser_pane.h"

#include <glibmm/main.h>

#include <stdexcept>

namespace vesko::probe {

namespace {

WebKitWebView* view_of(BrowserPane& pane)
{
    auto* real = dynamic_cast<WebKitBrowserPane*>(&pane);
    if (!real)
        throw std::logic_error("not a WebKit pane");
    return real->view();
}

struct Evaluation {
    bool done = false;
    std::optional<std::string> result;
};

void on_evaluated(GObject* source, GAsyncResult* result, gpointer data)
{
    auto* e = static_cast<Evaluation*>(data);
    GError* error = nullptr;
    JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
    if (value) {
        GCharPtr text(jsc_value_to_string(value));
        e->result = to_string(text.get());
        g_object_unref(value);
    } else {
        g_error_free(error);
    }
    e->done = true;
}

} // namespace

std::optional<std::string> evaluate(BrowserPane& pane, const std::string& script, std::chrono::milliseconds timeout)
{
    // Shared, since the callback may come after a timeout has given up.
    auto* e = new Evaluation;
    webkit_web_view_evaluate_javascript(view_of(pane), script.c_str(), -1, nullptr, nullptr, nullptr, on_evaluated, e);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto context = Glib::MainContext::get_default();
    while (!e->done && std::chrono::steady_clock::now() < deadline) {
        auto wake = Glib::signal_timeout().connect([] { return false; }, 10);
        context->iteration(true);
        wake.disconnect();
    }
    if (!e->done)
        return std::nullopt; // leaked on purpose: the engine still holds it
    std::optional<std::string> result = e->result;
    delete e;
    return result;
}

void terminate_web_process(BrowserPane& pane)
{
    webkit_web_view_terminate_web_process(view_of(pane));
}

std::string page_title(BrowserPane& pane)
{
    return to_string(webkit_web_view_get_title(view_of(pane)));
}

bool is_loading(BrowserPane& pane)
{
    return webkit_web_view_is_loading(view_of(pane));
}

void watch_view_freed(BrowserPane& pane, bool* freed)
{
    g_object_weak_ref(G_OBJECT(view_of(pane)), [](gpointer data, GObject*) { *static_cast<bool*>(data) = true; },
                      freed);
}

double zoom_level(BrowserPane& pane)
{
    return webkit_web_view_get_zoom_level(view_of(pane));
}

HistoryLengths history_lengths(BrowserPane& pane)
{
    WebKitBackForwardList* list = webkit_web_view_get_back_forward_list(view_of(pane));
    GList* back = webkit_back_forward_list_get_back_list(list);
    GList* forward = webkit_back_forward_list_get_forward_list(list);
    const HistoryLengths lengths{g_list_length(back), g_list_length(forward)};
    g_list_free(back);
    g_list_free(forward);
    return lengths;
}

} // namespace vesko::probe
