// Test entry for suites that need GTK (run under Xvfb): initialises gtkmm and
// makes GLib criticals fatal, so that a misuse of the toolkit fails the test.

#include <gtest/gtest.h>
#include <gtkmm/main.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    Gtk::Main kit(argc, argv);
    g_log_set_always_fatal(static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_ERROR));
    return RUN_ALL_TESTS();
}
