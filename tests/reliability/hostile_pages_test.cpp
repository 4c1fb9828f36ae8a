// Pages that try to wear the window down: titles by the thousand or by the
// megabyte, a hundred windows from one click, a script that never ends,
// script dialogs in a loop. The window keeps answering the keyboard.

#include "tests/reliability/reliability_window.h"

#include <functional>

namespace vesko::test {
namespace {

std::string repeated(const std::string& piece, std::size_t times)
{
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

class HostilePagesTest : public WindowOnEngine {
protected:
    // A left click at (x, y) of the page, through the main event dispatch,
    // so that the engine sees a user's gesture.
    void click_page(int x, int y)
    {
        Gtk::Widget& view = pane().widget();
        const Gtk::Allocation a = view.get_allocation();
        click_in_window(gtk_widget_get_window(view.gobj()), (view.get_has_window() ? 0 : a.get_x()) + x,
                        (view.get_has_window() ? 0 : a.get_y()) + y);
    }

    void open_endless_script();
};

TEST_F(HostilePagesTest, TenThousandTitlesInALoopEndWithTheLastAndTheKeyboardIsAnswered)
{
    server.add_page("/titles", "<title>开始</title><script>setTimeout(function () {"
                               "  for (var i = 1; i <= 10000; ++i) document.title = '标题 ' + i;"
                               "}, 100);</script>");
    ASSERT_TRUE(enter_and_settle(server.url("/titles")));
    // A key every tenth of a second, as a quick typist, while the titles pour in.
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (caption() != "标题 10000" && std::chrono::steady_clock::now() < deadline) {
        ASSERT_LT(typing_delay(), 1s) << "while the caption was " << caption();
        run_loop_for(100ms);
    }
    ASSERT_TRUE(wait_for_caption("标题 10000")) << caption();
    run_loop_for(300ms);
    EXPECT_EQ(caption(), "标题 10000");
    EXPECT_EQ(message(), "就绪");
}

TEST_F(HostilePagesTest, AMegabyteTitleEndsAsAShortenedFormOfItInTheCaption)
{
    // The engine itself hands over only the first thousand UTF-16 units of a
    // title; the second title is cut there in the middle of a character.
    struct Title {
        const char* what;
        std::string script; // makes the title
        std::string title;  // what it makes
    };
    const std::size_t threes = (1u << 20) / 3;
    const std::size_t fours = (1u << 20) / 4;
    const std::vector<Title> titles = {
        {"three-byte characters", "'长'.repeat(" + std::to_string(threes) + ")", repeated("长", threes)},
        {"four-byte characters after one ASCII", "'x' + '😀'.repeat(" + std::to_string(fours) + ")",
         "x" + repeated("😀", fours)},
    };
    for (const Title& t : titles) {
        SCOPED_TRACE(t.what);
        server.add_page("/long-title", "<title>短</title><script>document.title = " + t.script + ";</script>");
        ASSERT_TRUE(enter_and_settle(server.url("/long-title")));
        ASSERT_TRUE(wait_until([&] { return caption().size() > 1000; })) << shortened(caption());
        EXPECT_LT(typing_delay(), 1s);

        std::string shown = caption();
        ASSERT_TRUE(g_utf8_validate(shown.c_str(), static_cast<gssize>(shown.size()), nullptr));
        EXPECT_LE(g_utf8_strlen(shown.c_str(), -1), 2049);
        // The caption is the title's beginning, whole characters only, maybe
        // with a mark where it was cut.
        for (const std::string mark : {"…", "\uFFFD"}) {
            if (shown.ends_with(mark))
                shown.resize(shown.size() - mark.size());
        }
        EXPECT_TRUE(t.title.starts_with(shown)) << shortened(caption());
    }
}

TEST_F(HostilePagesTest, AHundredWindowOpensFromOneClickOpenOnlyWhatThePopupRulesAllow)
{
    server.add_page("/opener", "<title>开窗</title><body style='margin:0'>"
                               "<div style='width:400px;height:200px' onclick=\""
                               "for (var i = 0; i < 100; ++i) window.open('/popup?' + i, '_blank');"
                               "document.title = '点过了';\">点这里</div>");
    server.add_page("/popup", "<title>弹出</title>");
    server.add_page("/unasked", "<title>没人点</title><script>"
                                "for (var i = 0; i < 100; ++i) window.open('/popup?' + i, '_blank');</script>");

    // Without a click, nothing opens.
    ASSERT_TRUE(enter_and_settle(server.url("/unasked")));
    run_loop_for(500ms);
    EXPECT_EQ(engine->separate_window_count(), 0u);
    EXPECT_EQ(server.request_count("/popup"), 0);

    ASSERT_TRUE(enter_and_settle(server.url("/opener")));
    click_page(50, 50);
    ASSERT_TRUE(wait_until([&] { return caption() == "点过了"; }));
    // Let whatever was let through open and load, until a second passes quietly.
    std::size_t opened = 0;
    for (int i = 0, quiet = 0; i < 40 && quiet < 5; ++i) {
        run_loop_for(200ms);
        const std::size_t now = engine->separate_window_count();
        quiet = now == opened && server.request_count("/popup") == static_cast<int>(now) ? quiet + 1 : 0;
        opened = now;
    }
    // The engine lets every window of the one gesture through (WebKitGTK 2.50
    // does); whatever opened has loaded its page once, and the window answers.
    EXPECT_GE(opened, 1u);
    EXPECT_LE(opened, 100u);
    EXPECT_EQ(server.request_count("/popup"), static_cast<int>(opened));
    EXPECT_LT(typing_delay(), 1s);
    EXPECT_TRUE(wait_for_caption("点过了")) << caption();
}

// Opens a page whose script never ends, and waits until the page has stopped
// answering (its script would otherwise have run by now).
void HostilePagesTest::open_endless_script()
{
    server.add_page("/busy", "<title>忙</title><script>setTimeout(function () { for (;;) {} }, 0);</script>");
    type_and_enter(server.url("/busy"));
    ASSERT_TRUE(wait_until([&] { return server.request_count("/busy") == 1; }));
    ASSERT_TRUE(wait_until([&] { return !probe::evaluate(pane(), "1", 500ms); }));
}

TEST_F(HostilePagesTest, AScriptThatNeverEndsNeverHoldsUpTheWindow)
{
    server.add_page("/free", "<title>自由</title>");
    ASSERT_NO_FATAL_FAILURE(open_endless_script());
    EXPECT_LT(typing_delay(), 1s);
    // Stop, Enter and Refresh hand their request over and return; the window
    // waits on nothing of the page's.
    for (auto command : std::vector<std::function<void()>>{
             [&] { press_button(*window->toolbar().picture_part(3)); },    // 停止
             [&] { type_and_enter(server.url("/free")); },                 // Enter
             [&] { press_button(*window->toolbar().picture_part(4)); }}) { // 刷新
        const auto start = std::chrono::steady_clock::now();
        command();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
        EXPECT_LT(typing_delay(), 1s);
    }
    run_loop_for(4s); // past the engine's three seconds before it calls the page unresponsive
    EXPECT_LT(typing_delay(), 1s);
    EXPECT_TRUE(window->get_visible());
}

// Once the engine finds the page's process stuck, the address asked for
// goes to a new process, and the old one is ended rather than waited on.
TEST_F(HostilePagesTest, AfterAScriptThatNeverEndsStopAndTheNextAddressWork)
{
    server.add_page("/free", "<title>自由</title><p>free</p>");
    ASSERT_NO_FATAL_FAILURE(open_endless_script());
    press_button(*window->toolbar().picture_part(3)); // 停止
    ASSERT_TRUE(enter_and_settle(server.url("/free"), 20s));
    EXPECT_TRUE(wait_for_caption("自由")) << caption();
    EXPECT_EQ(page_text(), "free");
}

TEST_F(HostilePagesTest, ScriptDialogsInALoopWhileSilentShowNothingAndThePageRunsOn)
{
    ASSERT_TRUE(pane().silent());
    server.add_page("/dialogs", "<title>对话框</title><script>"
                                "var i, confirmed = 0, answered = 0;"
                                "for (i = 0; i < 1000; ++i) {"
                                "  alert('提示 ' + i);"
                                "  if (confirm('确定吗？')) ++confirmed;"
                                "  if (prompt('请输入', '默认') !== null) ++answered;"
                                "}"
                                "document.title = '完成 ' + i + ' ' + confirmed + ' ' + answered;</script>");
    type_and_enter(server.url("/dialogs"));
    ASSERT_TRUE(wait_ready_with_title("完成 1000 0 0", 60s));
    EXPECT_EQ(dialogs_in_sight(), 0);
    EXPECT_LT(typing_delay(), 1s);

    // The same look finds the engine's own dialog once Silent is off, so the
    // nothing above is nothing.
    pane().set_silent(false);
    server.add_page("/one-alert", "<title>一个</title><script>alert('你好');</script>");
    type_and_enter(server.url("/one-alert"));
    ASSERT_TRUE(wait_until([&] { return dialogs_in_sight() > 0; }));
}

} // namespace
} // namespace vesko::test
