#include "app/browser_app.h"

#include "browser/web_engine.h"
#include "mainwindow/main_window.h"

#include <gtkmm/application.h>

#include <memory>

namespace vesko {

int run_browser(const std::string& initial_address)
{
    // Not unique: every start is a window of its own, and no session bus is needed.
    auto app = Gtk::Application::create("org.vesko.Browser", Gio::APPLICATION_NON_UNIQUE);

    std::unique_ptr<WebEngine> engine;
    std::unique_ptr<MainWindow> window;
    app->signal_activate().connect([&] {
        if (window)
            return;
        engine = std::make_unique<WebEngine>();
        const PaneAddresses addresses{{}, std::string(description::home_address),
                                      std::string(description::search_address),
                                      std::string(description::search_query_prefix)};
        window = std::make_unique<MainWindow>(
            [&](const std::string& initial) {
                PaneAddresses a = addresses;
                a.initial = initial;
                return engine->create_pane(a);
            },
            initial_address);
        app->add_window(*window);
        window->start();
    });
    const int status = app->run();
    window.reset();
    engine.reset();
    return status;
}

} // namespace vesko
