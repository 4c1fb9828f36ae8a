#pragma once

#include <string>

namespace vesko {

// Why a page could not be shown.
enum class LoadFailure {
    HostNotFound,
    ConnectionRefused,
    TimedOut,
    Certificate,
    SecureConnection,
    UnsupportedScheme,
    TypedScript,
    Malformed,
    Offline,
    ProcessGone,
    Other,
};

// The pane's own error page: a self-contained HTML document in Chinese that says
// what failed and for which address. It runs no script and loads nothing, so it
// is safe to show under the failing address's origin. `detail` is the engine's
// own wording, shown in small print when not empty.
std::string error_page_html(LoadFailure failure, const std::string& address, const std::string& detail);

// The headline of the error page for that failure.
const char* load_failure_headline(LoadFailure failure);

// Escapes text for HTML content and attribute values.
std::string html_escape(const std::string& text);

} // namespace vesko
