// A web process killed outright, in the middle of a load or while its page
// sits there, takes nothing of the window with it: the window stays, its
// status bar and Address box go on working, and the next address loads.

#include "tests/reliability/reliability_window.h"

#include <csignal>

namespace vesko::test {
namespace {

class WebProcessTest : public WindowOnEngine {
protected:
    // SIGKILL to every web process of ours, as the out-of-memory killer
    // would; false when there was none to kill.
    static bool kill_web_processes()
    {
        const std::vector<pid_t> pids = web_process_pids();
        for (pid_t pid : pids)
            kill(pid, SIGKILL);
        return !pids.empty();
    }

    // The crash page has settled in the window, which still answers.
    void expect_crash_page_and_a_working_window()
    {
        EXPECT_TRUE(wait_for_caption("网页已崩溃")) << caption();
        EXPECT_NE(page_text().find("意外终止"), std::string::npos);
        EXPECT_TRUE(window->get_visible());
        EXPECT_LT(typing_delay(), 1s);
    }
};

TEST_F(WebProcessTest, KilledMidLoadAndWhileIdleFiveTimesInARow)
{
    // Answers long after the test is over: the load is always in flight.
    server.add_slow_page("/slow", "<title>慢</title>", 120s);
    server.add_page("/idle", "<title>闲</title><p>idle page</p>");
    server.add_page("/after", "<title>之后</title><p>after</p>");

    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));

        const int before_slow = completed;
        type_and_enter(server.url("/slow"));
        ASSERT_TRUE(wait_until([&] { return server.request_count("/slow") == round + 1; }));
        ASSERT_TRUE(message().rfind("正在转向", 0) == 0) << message();
        ASSERT_TRUE(kill_web_processes());
        ASSERT_TRUE(settled_after(before_slow));
        EXPECT_EQ(window->address_box().get_text(), server.url("/slow"));
        expect_crash_page_and_a_working_window();

        // The next Enter loads, in a new process.
        ASSERT_TRUE(enter_and_settle(server.url("/idle")));
        EXPECT_TRUE(wait_for_caption("闲")) << caption();
        EXPECT_EQ(window->address_box().get_text(), server.url("/idle"));

        const int before_idle = completed;
        ASSERT_TRUE(kill_web_processes());
        ASSERT_TRUE(settled_after(before_idle));
        // The crash page keeps the page's address, for Refresh.
        EXPECT_EQ(window->address_box().get_text(), server.url("/idle"));
        expect_crash_page_and_a_working_window();
    }

    ASSERT_TRUE(enter_and_settle(server.url("/after")));
    EXPECT_TRUE(wait_for_caption("之后")) << caption();
    EXPECT_EQ(page_text(), "after");
}

} // namespace
} // namespace vesko::test
