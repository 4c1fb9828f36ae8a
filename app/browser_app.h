#pragma once

#include "mainwindow/window_description.h"

#include <string>

namespace vesko {

// Starts the browser with its Main window opening `initial_address` and
// returns when the Main window has gone. Separate browser windows that pages
// opened do not keep it running.
int run_browser(const std::string& initial_address);

} // namespace vesko
