#pragma once

// The Main window with a fake pane and answered dialogs.

#include "mainwindow/main_window.h"
#include "tests/support/fake_browser_pane.h"
#include "tests/support/main_loop.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <optional>
#include <string>

namespace vesko::test {

// Answers the Input dialog from a queue (nothing queued: cancelled) and counts
// the About boxes shown.
class FakeDialogs : public Dialogs {
public:
    std::optional<std::string> ask_address(Gtk::Window& owner) override
    {
        ++asked;
        owner_was_main_window = dynamic_cast<MainWindow*>(&owner) != nullptr;
        if (answers.empty())
            return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void show_about() override { ++abouts; }

    std::deque<std::optional<std::string>> answers;
    int asked = 0;
    int abouts = 0;
    bool owner_was_main_window = false;
};

class WindowTest : public testing::Test {
protected:
    void build(std::function<void(FakeBrowserPane&)> prepare = {})
    {
        auto dialogs_owned = std::make_unique<FakeDialogs>();
        dialogs = dialogs_owned.get();
        window = std::make_unique<MainWindow>(
            [&](const std::string&) {
                auto pane = std::make_unique<FakeBrowserPane>();
                fake = pane.get();
                if (prepare)
                    prepare(*pane);
                return pane;
            },
            std::string(description::initial_address), std::move(dialogs_owned));
    }

    void start_and_wait()
    {
        window->start();
        ASSERT_TRUE(wait_until([&] { return window->get_mapped() && window->client_width() > 1; }));
        flush_events();
    }

    void build_and_start()
    {
        build();
        start_and_wait();
        fake->log.clear();
    }

    std::string message() { return window->status_bar().part_text(description::status_message_part); }

    FakeBrowserPane* fake = nullptr;
    FakeDialogs* dialogs = nullptr;
    std::unique_ptr<MainWindow> window;
};

} // namespace vesko::test
