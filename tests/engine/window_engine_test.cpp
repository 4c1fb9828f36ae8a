// The whole window on the real engine, as a user drives it: typing an
// address, watching the status bar, the menu's text sizes, Back and Forward.

#include "tests/support/engine_window_fixture.h"
#include "tests/support/scratch_folder.h"

#include <gdk/gdkkeysyms.h>
#include <glibmm/convert.h>
#include <gtest/gtest.h>

#include <memory>

namespace vesko {
namespace {

using WindowEngineTest = test::EngineWindowTest;

TEST_F(WindowEngineTest, TypingALoopbackAddressWithoutSchemeLoadsIt)
{
    server.add_page("/page", "<html><head><title>回环页面</title></head><body>内容</body></html>");
    const std::string typed = "127.0.0.1:" + std::to_string(server.port()) + "/page";
    type_and_enter(typed);
    // The box keeps what was typed until the page is ready.
    EXPECT_EQ(window->address_box().get_text(), typed);
    ASSERT_TRUE(wait_ready_with_title("回环页面"));
    EXPECT_EQ(window->address_box().get_text(), server.url("/page"));
    EXPECT_EQ(server.request_count("/page"), 1);
}

TEST_F(WindowEngineTest, TypedWordsBecomeASearch)
{
    server.add_page("/search", "<title>搜索结果</title>");
    type_and_enter("天气 预报");
    ASSERT_TRUE(wait_ready_with_title("搜索结果"));
    EXPECT_EQ(window->address_box().get_text(),
              server.url("/search?q=%E5%A4%A9%E6%B0%94%20%E9%A2%84%E6%8A%A5"));
}

TEST_F(WindowEngineTest, ASchemeTheEngineCannotShowGivesAnErrorPage)
{
    for (const std::string text : {"mailto:someone@example.com", "javascript:document.title='ran'", "ftp://127.0.0.1/"}) {
        type_and_enter(text);
        ASSERT_TRUE(test::wait_until([&] { return message() == "就绪" && window->get_title() == "无法打开网页"; }))
            << text;
        EXPECT_NE(probe::evaluate(pane(), "document.body.innerText").value_or("").find("无法打开以下地址"),
                  std::string::npos);
    }
    // Nothing typed, nothing done.
    type_and_enter("   ");
    test::run_loop_for(std::chrono::milliseconds(200));
    EXPECT_EQ(window->get_title(), "无法打开网页");
}

TEST_F(WindowEngineTest, ASlowPageReportsWhereItGoesAndHowFarItIs)
{
    server.add_slow_page("/slow", "<title>慢</title><p>slow</p>", std::chrono::milliseconds(600));
    std::vector<std::string> messages;
    sigc::connection recorder = pane().signal_before_navigate().connect([&] { messages.push_back(message()); });
    sigc::connection progress = pane().signal_progress_change().connect([&](int) { messages.push_back(message()); });
    type_and_enter(server.url("/slow"));
    ASSERT_TRUE(wait_ready_with_title("慢"));
    recorder.disconnect();
    progress.disconnect();
    // The window's handlers ran before ours, so each entry is the message it showed.
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front(), "正在转向 “" + server.url("/slow") + "”");
    EXPECT_TRUE(std::any_of(messages.begin(), messages.end(),
                            [](const std::string& m) { return m.rfind("已经载入 ", 0) == 0; }));
    EXPECT_EQ(message(), "就绪");
}

TEST_F(WindowEngineTest, APageWithFramesEndsWithThePagesAddress)
{
    server.add_page("/framed", "<title>框架</title><iframe src='/f1'></iframe><iframe src='/f2'></iframe>");
    server.add_page("/f1", "<p>one</p>");
    server.add_page("/f2", "<p>two</p>");
    type_and_enter(server.url("/framed"));
    ASSERT_TRUE(wait_ready_with_title("框架"));
    ASSERT_TRUE(test::wait_until([&] { return server.request_count("/f2") == 1; }));
    test::run_loop_for(std::chrono::milliseconds(200));
    EXPECT_EQ(window->address_box().get_text(), server.url("/framed"));
}

TEST_F(WindowEngineTest, HoveringALinkShowsItsAddress)
{
    server.add_page("/links", "<title>链接</title><body style='margin:0'>"
                              "<a id='a' href='/target' style='display:block;width:200px;height:60px'>去</a></body>");
    type_and_enter(server.url("/links"));
    ASSERT_TRUE(wait_ready_with_title("链接"));

    Gtk::Widget& view = pane().widget();
    int ox = 0, oy = 0;
    view.get_window()->get_origin(ox, oy);
    Gtk::Allocation a = view.get_allocation();
    GdkDisplay* display = gdk_display_get_default();
    GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(display));
    GdkScreen* screen = gdk_screen_get_default();
    // The origin is the view's window; its allocation may be offset inside it.
    const int left = ox + (view.get_has_window() ? 0 : a.get_x());
    const int top = oy + (view.get_has_window() ? 0 : a.get_y());

    gdk_device_warp(pointer, screen, left + 50, top + 30);
    ASSERT_TRUE(test::wait_until([&] { return message() == server.url("/target"); })) << message();
    gdk_device_warp(pointer, screen, left + 100, top + 200);
    ASSERT_TRUE(test::wait_until([&] { return message().empty(); })) << message();
}

TEST_F(WindowEngineTest, TheLargestTextSizeFromTheMenuEnlargesThePage)
{
    server.add_page("/text", "<title>文字</title><span id='t' style='font-size:16px'>字号 probe</span>");
    type_and_enter(server.url("/text"));
    ASSERT_TRUE(wait_ready_with_title("文字"));
    const std::string measure = "document.getElementById('t').getBoundingClientRect().width";
    const double before = std::stod(probe::evaluate(pane(), measure).value_or("0"));
    window->menu().item(MainMenu::find("&G.最大"))->activate();
    EXPECT_EQ(pane().font_size(), 4);
    ASSERT_TRUE(test::wait_until(
        [&] { return std::stod(probe::evaluate(pane(), measure).value_or("0")) > before * 1.3; }));
}

TEST_F(WindowEngineTest, BackAndForwardFollowTheHistoryOnToolbarAndMenu)
{
    server.add_page("/one", "<title>一</title>");
    server.add_page("/two", "<title>二</title>");
    Toolbar& bar = window->toolbar();
    MainMenu& menu = window->menu();
    const int back_row = MainMenu::find("&B.后退");
    const int forward_row = MainMenu::find("&F.前进");
    auto state = [&] {
        return std::make_pair(bar.button_widget(1)->is_sensitive() && !menu.disabled(back_row),
                              bar.button_widget(2)->is_sensitive() && !menu.disabled(forward_row));
    };
    type_and_enter(server.url("/one"));
    ASSERT_TRUE(wait_ready_with_title("一"));
    EXPECT_EQ(state(), std::make_pair(false, false));
    type_and_enter(server.url("/two"));
    ASSERT_TRUE(wait_ready_with_title("二"));
    ASSERT_TRUE(test::wait_until([&] { return state() == std::make_pair(true, false); }));

    test::press_button(*bar.picture_part(1)); // Back, as the user clicks it
    ASSERT_TRUE(wait_ready_with_title("一"));
    ASSERT_TRUE(test::wait_until([&] { return state() == std::make_pair(false, true); }));

    menu.item(forward_row)->activate();
    ASSERT_TRUE(wait_ready_with_title("二"));
    ASSERT_TRUE(test::wait_until([&] { return state() == std::make_pair(true, false); }));
}

TEST_F(WindowEngineTest, CtrlPPrintsEvenWithTheFocusInThePage)
{
    server.add_page("/page", "<title>打印</title><body>print probe<input id='i' autofocus></body>");
    type_and_enter(server.url("/page"));
    ASSERT_TRUE(wait_ready_with_title("打印"));
    test::ScratchFolder folder;
    auto settings = Gtk::PrintSettings::create();
    settings->set_printer("Print to File");
    settings->set(GTK_PRINT_SETTINGS_OUTPUT_FILE_FORMAT, "pdf");
    settings->set(GTK_PRINT_SETTINGS_OUTPUT_URI, Glib::filename_to_uri(folder.file("out.pdf")));
    dialogs->print_settings = settings;

    pane().widget().grab_focus();
    ASSERT_TRUE(pane().widget().has_focus());
    test::send_key(*window, GDK_KEY_p, GDK_CONTROL_MASK);
    ASSERT_TRUE(test::wait_until([&] { return test::read_file(folder.file("out.pdf")).rfind("%PDF", 0) == 0; },
                                 std::chrono::seconds(30)));
}

TEST_F(WindowEngineTest, TheWebViewGoesWithTheWindow)
{
    server.add_page("/page", "<title>页</title>");
    type_and_enter(server.url("/page"));
    ASSERT_TRUE(wait_ready_with_title("页"));
    bool freed = false;
    probe::watch_view_freed(pane(), &freed);
    window.reset();
    test::run_loop_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(freed);
}

} // namespace
} // namespace vesko
