#pragma once

// A real pane in a window of its own, a loopback server, and a recorder of
// every event the pane raises, with what the pane's properties said at that
// moment.

#include "browser/pane_probe.h"
#include "browser/web_engine.h"
#include "tests/support/fake_pane_dialogs.h"
#include "tests/support/main_loop.h"
#include "tests/support/test_server.h"

#include <gtest/gtest.h>
#include <gtkmm/window.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace vesko::test {

class PaneRecorder {
public:
    explicit PaneRecorder(BrowserPane& pane) : m_pane(pane)
    {
        pane.signal_before_navigate().connect([this] { events.push_back("navigate " + m_pane.url()); });
        pane.signal_progress_change().connect([this](int p) { events.push_back("progress " + std::to_string(p)); });
        pane.signal_document_complete().connect([this] {
            events.push_back("complete " + m_pane.url());
            ++completed;
        });
        pane.signal_status_text_change().connect([this] { events.push_back("status " + m_pane.status_text()); });
        pane.signal_title_change().connect([this] { events.push_back("title " + m_pane.caption()); });
        pane.signal_command_state_change().connect(
            [this](int c, int e) { events.push_back("command " + std::to_string(c) + " " + std::to_string(e)); });
    }

    // Events whose text starts with `prefix`.
    std::vector<std::string> with_prefix(const std::string& prefix) const
    {
        std::vector<std::string> out;
        for (const std::string& e : events) {
            if (e.rfind(prefix, 0) == 0)
                out.push_back(e);
        }
        return out;
    }
    bool has(const std::string& event) const
    {
        for (const std::string& e : events) {
            if (e == event)
                return true;
        }
        return false;
    }
    long index_of(const std::string& event) const
    {
        for (std::size_t i = 0; i < events.size(); ++i) {
            if (events[i] == event)
                return static_cast<long>(i);
        }
        return -1;
    }

    std::vector<std::string> events;
    int completed = 0;

private:
    BrowserPane& m_pane;
};

class EngineTest : public testing::Test {
protected:
    void SetUp() override
    {
        auto owned = std::make_unique<FakePaneDialogs>();
        dialogs = owned.get();
        engine = std::make_unique<WebEngine>(std::move(owned));
        pane = engine->create_pane(PaneAddresses{"", server.url("/home"), server.url("/search"), server.url("/search?q=")});
        pane->set_offline(false);
        recorder = std::make_unique<PaneRecorder>(*pane);
        window.set_default_size(649, 447);
        window.add(pane->widget());
        pane->widget().show();
        ASSERT_TRUE(show_and_wait(window));
    }

    void TearDown() override
    {
        if (HasFailure() && recorder) {
            for (const std::string& e : recorder->events)
                std::cerr << "  event: " << e << "\n";
        }
        window.remove();
        recorder.reset();
        pane.reset();
        engine.reset();
    }

    // Opens the address and waits until the pane has reported it complete.
    bool load(const std::string& address)
    {
        const int before = recorder->completed;
        pane->set_url(address);
        return wait_until([&] { return recorder->completed > before && !probe::is_loading(*pane); },
                          std::chrono::seconds(20));
    }

    bool wait_for_title(const std::string& title)
    {
        return wait_until([&] { return probe::page_title(*pane) == title; }, std::chrono::seconds(20));
    }

    std::string page_text() { return probe::evaluate(*pane, "document.body ? document.body.innerText : ''").value_or(""); }

    TestServer server;
    FakePaneDialogs* dialogs = nullptr;
    std::unique_ptr<WebEngine> engine;
    std::unique_ptr<BrowserPane> pane;
    std::unique_ptr<PaneRecorder> recorder;
    Gtk::Window window;
};

} // namespace vesko::test
