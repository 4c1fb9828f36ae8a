#pragma once

// The whole Main window on the real engine, its addresses on a loopback
// server, driven as a user drives it: typing into the Address box, pressing
// Enter, waiting for the page. Needs a display.

#include "browser/pane_probe.h"
#include "browser/web_engine.h"
#include "mainwindow/main_window.h"
#include "tests/support/fake_pane_dialogs.h"
#include "tests/support/main_loop.h"
#include "tests/support/test_server.h"

#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

namespace vesko::test {

class EngineWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        auto owned = std::make_unique<FakePaneDialogs>();
        dialogs = owned.get();
        engine = std::make_unique<WebEngine>(std::move(owned));
        window = std::make_unique<MainWindow>(
            [&](const std::string& initial) {
                return engine->create_pane(
                    PaneAddresses{initial, server.url("/home"), server.url("/search"), server.url("/search?q=")});
            },
            "");
        before_start();
        window->start();
        ASSERT_TRUE(wait_until([&] { return window->get_mapped() && window->client_width() > 1; }));
    }

    void TearDown() override
    {
        window.reset();
        engine.reset();
    }

    // Runs once the window is built, before it starts.
    virtual void before_start() {}

    BrowserPane& pane() { return window->pane(); }
    std::string caption() { return window->get_title(); }
    std::string message() { return window->status_bar().part_text(description::status_message_part); }

    // Types into the Address box and presses Enter, as the user does.
    void type_and_enter(const std::string& text)
    {
        window->address_box().grab_focus();
        window->address_box().set_text(text);
        send_key(*window, GDK_KEY_Return);
    }

    // The window says "就绪", shows the title and the engine has stopped. The
    // Address box follows "就绪" on the loop's next turn.
    bool wait_ready_with_title(const std::string& title,
                               std::chrono::milliseconds timeout = std::chrono::seconds(20))
    {
        const bool ready = wait_until(
            [&] { return message() == "就绪" && caption() == title && !probe::is_loading(pane()); }, timeout);
        flush_events();
        return ready;
    }

    TestServer server;
    FakePaneDialogs* dialogs = nullptr;
    std::unique_ptr<WebEngine> engine;
    std::unique_ptr<MainWindow> window;
};

} // namespace vesko::test
