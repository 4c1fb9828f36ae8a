// Vesko浏览器: builds the Main window, runs the event loop, and ends when the
// window is gone. Reads no command line and no configuration.

#include "app/browser_app.h"

int main()
{
    return vesko::run_browser(std::string(vesko::description::initial_address));
}
