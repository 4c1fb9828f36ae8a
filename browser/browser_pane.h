#pragma once

#include <gtkmm/widget.h>
#include <sigc++/signal.h>

#include <string>

namespace vesko {

// The ten page commands, numbered as the window description and the toolbar
// address them.
enum class BrowserCommand : int {
    Forward = 0,
    Back = 1,
    Home = 2,
    Search = 3,
    Refresh = 4,
    Stop = 5,
    SaveAs = 6,
    Print = 7,
    PrintPreview = 8,
    PageSetup = 9,
};

inline constexpr int browser_command_count = 10;

// Text size levels run from 0 (smallest) to 4 (largest).
inline constexpr int min_text_size_level = 0;
inline constexpr int max_text_size_level = 4;
inline constexpr int initial_text_size_level = 2;

// What the Main window needs of the web view. The window talks to the pane only
// through these operations, and the pane answers only through its signals, which
// it raises synchronously on the UI thread. Event data travels through the
// properties: while the before-navigate or document-complete handlers run,
// url() yields that event's address; while title-change runs, caption() yields
// the new title.
class BrowserPane {
public:
    BrowserPane() = default;
    BrowserPane(const BrowserPane&) = delete;
    BrowserPane& operator=(const BrowserPane&) = delete;
    virtual ~BrowserPane() = default;

    // The widget to place in the window.
    virtual Gtk::Widget& widget() = 0;

    // Runs one page command; a command that cannot be carried out does nothing.
    // Values outside 0..9 are ignored.
    virtual void exec(int command) = 0;
    void exec(BrowserCommand command) { exec(static_cast<int>(command)); }

    // Opens the address in the frame or window bearing that name, or in a new
    // separate window when none does.
    virtual void navigate_in_target(const std::string& address, const std::string& target_name) = 0;

    virtual std::string url() const = 0;
    // Navigates there, even when unchanged.
    virtual void set_url(const std::string& text) = 0;

    virtual std::string status_text() const = 0;
    virtual std::string caption() const = 0;

    virtual int font_size() const = 0;
    // Clamped to 0..4, kept and applied.
    virtual void set_font_size(int level) = 0;

    virtual bool offline() const = 0;
    virtual void set_offline(bool offline) = 0;

    virtual bool silent() const = 0;
    virtual void set_silent(bool silent) = 0;

    // Before each navigation of the page or of one of its frames; url() is the address.
    sigc::signal<void()>& signal_before_navigate() { return m_before_navigate; }
    // The share loaded, in percent (not clamped).
    sigc::signal<void(int)>& signal_progress_change() { return m_progress_change; }
    // The document is complete; url() is its address.
    sigc::signal<void()>& signal_document_complete() { return m_document_complete; }
    // status_text() has changed.
    sigc::signal<void()>& signal_status_text_change() { return m_status_text_change; }
    // caption() is the new title.
    sigc::signal<void()>& signal_title_change() { return m_title_change; }
    // command 0: going forward, 1: going back became possible (1) or impossible (0).
    sigc::signal<void(int, int)>& signal_command_state_change() { return m_command_state_change; }

private:
    sigc::signal<void()> m_before_navigate;
    sigc::signal<void(int)> m_progress_change;
    sigc::signal<void()> m_document_complete;
    sigc::signal<void()> m_status_text_change;
    sigc::signal<void()> m_title_change;
    sigc::signal<void(int, int)> m_command_state_change;
};

} // namespace vesko
