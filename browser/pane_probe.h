#pragma once

// A look inside a real pane, for engine tests: what a user would see on the
// page, and ways to make the engine fail on purpose. Not part of the program.

#include "browser/browser_pane.h"

#include <chrono>
#include <optional>
#include <string>

namespace vesko::probe {

// Runs a script in the page and returns its result as text (numbers and
// booleans converted as JavaScript would); nothing on error or timeout.
std::optional<std::string> evaluate(BrowserPane& pane, const std::string& script,
                                    std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Ends the pane's web process, as a crash would.
void terminate_web_process(BrowserPane& pane);

// The title of the page as the engine has it.
std::string page_title(BrowserPane& pane);

// True while the engine is loading.
bool is_loading(BrowserPane& pane);

// The engine's current text zoom factor.
double zoom_level(BrowserPane& pane);

// Sets *freed once the pane's web view has been finalized.
void watch_view_freed(BrowserPane& pane, bool* freed);

// How many pages the engine's history holds behind and ahead of the current one.
struct HistoryLengths {
    unsigned back = 0;
    unsigned forward = 0;
};
HistoryLengths history_lengths(BrowserPane& pane);

} // namespace vesko::probe
