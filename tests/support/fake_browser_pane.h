#pragma once

#include "browser/browser_pane.h"

#include <gtkmm/drawingarea.h>

#include <functional>
#include <string>
#include <vector>

namespace vesko::test {

// A Browser pane that records every operation and raises events on demand.
// Properties read by handlers are plain fields that a test sets before raising.
class FakeBrowserPane : public BrowserPane {
public:
    FakeBrowserPane() { m_widget.set_can_focus(true); }

    Gtk::Widget& widget() override
    {
        if (on_widget_requested) {
            auto hook = std::move(on_widget_requested);
            on_widget_requested = nullptr;
            hook();
        }
        return m_widget;
    }

    void exec(int command) override { log.push_back("exec " + std::to_string(command)); }
    void navigate_in_target(const std::string& address, const std::string& name) override
    {
        log.push_back("navigate_in_target [" + address + "] [" + name + "]");
    }
    std::string url() const override { return url_value; }
    void set_url(const std::string& text) override { log.push_back("set_url [" + text + "]"); }
    std::string status_text() const override { return status_text_value; }
    std::string caption() const override { return caption_value; }
    int font_size() const override { return font_size_value; }
    void set_font_size(int level) override
    {
        font_size_value = level;
        log.push_back("set_font_size " + std::to_string(level));
    }
    bool offline() const override { return offline_value; }
    void set_offline(bool v) override
    {
        offline_value = v;
        log.push_back(std::string("set_offline ") + (v ? "true" : "false"));
    }
    bool silent() const override { return silent_value; }
    void set_silent(bool v) override
    {
        silent_value = v;
        log.push_back(std::string("set_silent ") + (v ? "true" : "false"));
    }

    // Runs once, inside the first widget() call: the window asks for the
    // widget while it is being built.
    std::function<void()> on_widget_requested;

    std::vector<std::string> log;
    std::string url_value;
    std::string status_text_value;
    std::string caption_value;
    int font_size_value = 2;
    bool offline_value = true;
    bool silent_value = true;

private:
    Gtk::DrawingArea m_widget;
};

} // namespace vesko::test
