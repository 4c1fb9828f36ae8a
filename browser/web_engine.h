#pragma once

#include "browser/browser_pane.h"

#include <memory>
#include <string>

namespace vesko {

// The fixed addresses a pane works with.
struct PaneAddresses {
    std::string initial;      // opened at creation unless empty
    std::string home;         // Home command
    std::string search;       // Search command
    std::string search_query; // typed words are appended to it, encoded
};

// The web engine of one run: one sandboxed, ephemeral (nothing kept on disk)
// engine context shared by every pane and every separate window.
class WebEngine {
public:
    WebEngine();
    ~WebEngine();
    WebEngine(const WebEngine&) = delete;
    WebEngine& operator=(const WebEngine&) = delete;

    // A pane on the real engine. It starts offline and silent at text size 2,
    // in that order, then opens addresses.initial.
    std::unique_ptr<BrowserPane> create_pane(const PaneAddresses& addresses);

    struct Impl;

private:
    std::unique_ptr<Impl> m_impl;
};

} // namespace vesko
