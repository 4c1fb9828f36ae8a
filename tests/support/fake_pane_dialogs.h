#pragma once

#include "browser/pane_dialogs.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace vesko::test {

// Answers the pane's dialogs from queues (nothing queued: cancelled) and
// records what it was asked.
class FakePaneDialogs : public PaneDialogs {
public:
    std::optional<SaveTarget> ask_save_target(Gtk::Window*, const std::string& suggested_name) override
    {
        suggested_save_names.push_back(suggested_name);
        return pop(save_answers);
    }
    std::optional<std::string> ask_download_target(Gtk::Window*, const std::string& suggested_name) override
    {
        suggested_download_names.push_back(suggested_name);
        return pop(download_answers);
    }
    Glib::RefPtr<Gtk::PageSetup> ask_page_setup(Gtk::Window*, const Glib::RefPtr<Gtk::PageSetup>&,
                                                const Glib::RefPtr<Gtk::PrintSettings>&) override
    {
        ++page_setups_asked;
        return page_setup_answer;
    }
    void tell_failure(Gtk::Window*, const std::string& message) override { failures.push_back(message); }
    Glib::RefPtr<Gtk::PrintSettings> print_without_dialog() override { return print_settings; }

    std::deque<std::optional<SaveTarget>> save_answers;
    std::deque<std::optional<std::string>> download_answers;
    Glib::RefPtr<Gtk::PageSetup> page_setup_answer;
    Glib::RefPtr<Gtk::PrintSettings> print_settings;

    std::vector<std::string> suggested_save_names;
    std::vector<std::string> suggested_download_names;
    std::vector<std::string> failures;
    int page_setups_asked = 0;

private:
    template <class T>
    static std::optional<T> pop(std::deque<std::optional<T>>& queue)
    {
        if (queue.empty())
            return std::nullopt;
        auto answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

} // namespace vesko::test
