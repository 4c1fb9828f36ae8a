// The browser exactly as vesko builds it, but opening the address given as
// its one argument: benchmarks and end-to-end checks point it at loopback
// pages. The program itself reads no command line.

#include "app/browser_app.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vesko_shell ADDRESS\n");
        return 2;
    }
    return vesko::run_browser(argv[1]);
}
