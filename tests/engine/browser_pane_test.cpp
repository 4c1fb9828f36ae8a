// The pane on the real engine against a loopback server.

#include "tests/support/engine_fixture.h"
#include "tests/support/self_signed_certificate.h"

#include <algorithm>

namespace vesko {
namespace {

using test::EngineTest;

TEST_F(EngineTest, APageLoadReportsNavigateProgressTitleAndCompleteInOrder)
{
    server.add_page("/page", "<html><head><title>第一页</title></head><body>你好</body></html>");
    ASSERT_TRUE(load(server.url("/page")));

    const auto& ev = recorder->events;
    ASSERT_FALSE(ev.empty());
    EXPECT_EQ(ev.front(), "navigate " + server.url("/page"));
    // Complete ends the load: nothing but the title (see below) comes after it.
    auto last_not_title = std::find_if(ev.rbegin(), ev.rend(), [](const std::string& e) { return e.rfind("title ", 0) != 0; });
    ASSERT_NE(last_not_title, ev.rend());
    EXPECT_EQ(*last_not_title, "complete " + server.url("/page"));
    // The engine reports the title as soon as it has parsed it, which may be
    // just before or just after the load finishes.
    ASSERT_TRUE(test::wait_until([&] { return recorder->has("title 第一页"); }));
    EXPECT_GT(recorder->index_of("title 第一页"), 0);
    EXPECT_EQ(recorder->with_prefix("complete "), std::vector<std::string>{"complete " + server.url("/page")});
    const auto progress = recorder->with_prefix("progress ");
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), "progress 100");
    EXPECT_EQ(pane->url(), server.url("/page"));
    EXPECT_EQ(pane->caption(), "第一页");
}

TEST_F(EngineTest, EveryFrameRaisesItsOwnNavigate)
{
    server.add_page("/frames", "<html><body><iframe src='/a'></iframe><iframe src='/b'></iframe></body></html>");
    server.add_page("/a", "<p>a</p>");
    server.add_page("/b", "<p>b</p>");
    ASSERT_TRUE(load(server.url("/frames")));
    ASSERT_TRUE(test::wait_until([&] { return server.request_count("/a") && server.request_count("/b"); }));
    test::run_loop_for(std::chrono::milliseconds(200));
    const auto navigations = recorder->with_prefix("navigate ");
    EXPECT_EQ(navigations.front(), "navigate " + server.url("/frames"));
    EXPECT_TRUE(recorder->has("navigate " + server.url("/a")));
    EXPECT_TRUE(recorder->has("navigate " + server.url("/b")));
    // The page itself is reported complete last.
    EXPECT_EQ(recorder->with_prefix("complete ").back(), "complete " + server.url("/frames"));
}

TEST_F(EngineTest, BackAndForwardFollowTheHistory)
{
    server.add_page("/1", "<title>1</title>");
    server.add_page("/2", "<title>2</title>");
    ASSERT_TRUE(load(server.url("/1")));
    EXPECT_FALSE(recorder->has("command 1 1"));
    ASSERT_TRUE(load(server.url("/2")));
    EXPECT_TRUE(recorder->has("command 1 1"));

    recorder->events.clear();
    pane->exec(BrowserCommand::Back);
    ASSERT_TRUE(wait_for_title("1"));
    ASSERT_TRUE(test::wait_until([&] { return recorder->has("command 0 1") && recorder->has("command 1 0"); }));

    pane->exec(BrowserCommand::Forward);
    ASSERT_TRUE(wait_for_title("2"));
    ASSERT_TRUE(test::wait_until([&] { return recorder->has("command 0 0"); }));
}

TEST_F(EngineTest, HomeSearchRefreshAndStop)
{
    server.add_page("/home", "<title>home</title>");
    server.add_page("/search", "<title>search</title>");
    pane->exec(BrowserCommand::Home);
    ASSERT_TRUE(wait_for_title("home"));
    pane->exec(BrowserCommand::Search);
    ASSERT_TRUE(wait_for_title("search"));
    pane->exec(BrowserCommand::Refresh);
    ASSERT_TRUE(test::wait_until([&] { return server.request_count("/search") == 2; }));

    server.add_slow_page("/slow", "<title>slow</title>", std::chrono::seconds(30));
    pane->set_url(server.url("/slow"));
    ASSERT_TRUE(test::wait_until([&] { return server.request_count("/slow") == 1; }));
    pane->exec(BrowserCommand::Stop);
    ASSERT_TRUE(test::wait_until([&] { return !probe::is_loading(*pane); }));
    EXPECT_NE(probe::page_title(*pane), "slow");
    // Commands outside the list, and those with nothing to do, are ignored.
    for (int command : {-1, 10, 1000})
        pane->exec(command);
}

TEST_F(EngineTest, LargestTextSizeEnlargesTextAndSurvivesNavigation)
{
    const std::string page = "<body><span id='t' style='font-size:16px'>文字 width probe</span></body>";
    server.add_page("/text", page);
    server.add_page("/text2", page);
    const std::string measure = "document.getElementById('t').getBoundingClientRect().width";
    ASSERT_TRUE(load(server.url("/text")));
    const double normal = std::stod(probe::evaluate(*pane, measure).value_or("0"));
    ASSERT_GT(normal, 0.0);

    pane->set_font_size(4);
    EXPECT_EQ(pane->font_size(), 4);
    ASSERT_TRUE(test::wait_until([&] { return std::stod(probe::evaluate(*pane, measure).value_or("0")) > normal * 1.3; }));

    ASSERT_TRUE(load(server.url("/text2")));
    EXPECT_GT(std::stod(probe::evaluate(*pane, measure).value_or("0")), normal * 1.3);

    pane->set_font_size(99);
    EXPECT_EQ(pane->font_size(), 4);
    pane->set_font_size(-7);
    EXPECT_EQ(pane->font_size(), 0);
}

TEST_F(EngineTest, OfflineKeepsLoadsFromTheNetwork)
{
    server.add_page("/net", "<title>net</title>");
    pane->set_offline(true);
    EXPECT_TRUE(pane->offline());
    ASSERT_TRUE(load(server.url("/net")));
    EXPECT_EQ(server.request_count("/net"), 0);
    EXPECT_NE(page_text().find("脱机"), std::string::npos);

    pane->set_offline(false);
    ASSERT_TRUE(load(server.url("/net")));
    EXPECT_EQ(server.request_count("/net"), 1);
    EXPECT_TRUE(wait_for_title("net"));
}

TEST_F(EngineTest, SilentAnswersScriptDialogsWithoutShowingThem)
{
    ASSERT_TRUE(pane->silent());
    server.add_page("/dialogs", "<script>alert('a'); var c = confirm('c'); var p = prompt('p', 'x');"
                                "document.title = 'after ' + c + ' ' + p;</script>");
    ASSERT_TRUE(load(server.url("/dialogs")));
    EXPECT_TRUE(wait_for_title("after false null"));
}

TEST_F(EngineTest, ASelfSignedCertificateIsRefused)
{
    test::TestServer https(self_signed_pem);
    https.add_page("/secret", "<title>secret</title><img src='/image.png'>");
    ASSERT_TRUE(load(https.url("/secret")));
    EXPECT_NE(probe::page_title(*pane), "secret");
    EXPECT_NE(page_text().find("证书"), std::string::npos);
    EXPECT_EQ(https.request_count("/image.png"), 0);
    EXPECT_EQ(recorder->with_prefix("complete ").back(), "complete " + https.url("/secret"));
}

TEST_F(EngineTest, AnUnreachableAddressShowsTheChineseErrorPage)
{
    int closed_port = 0;
    {
        test::TestServer gone;
        closed_port = gone.port();
    }
    const std::string address = "http://127.0.0.1:" + std::to_string(closed_port) + "/nothing";
    ASSERT_TRUE(load(address));
    ASSERT_TRUE(test::wait_until([&] { return page_text().find("无法打开以下地址") != std::string::npos; }));
    const std::string text = page_text();
    EXPECT_NE(text.find(address), std::string::npos);
    EXPECT_NE(text.find("拒绝了连接"), std::string::npos);
    EXPECT_EQ(pane->url(), address);
    // The load still ends with a complete, so the window settles.
    EXPECT_EQ(recorder->with_prefix("complete ").back(), "complete " + address);
}

TEST_F(EngineTest, AfterTheWebProcessDiesTheNextNavigationLoads)
{
    server.add_page("/before", "<title>before</title>");
    server.add_page("/after", "<title>after</title>");
    ASSERT_TRUE(load(server.url("/before")));

    const int completed = recorder->completed;
    probe::terminate_web_process(*pane);
    ASSERT_TRUE(test::wait_until([&] { return recorder->completed > completed; }));
    ASSERT_TRUE(test::wait_until([&] { return page_text().find("意外终止") != std::string::npos; }));

    ASSERT_TRUE(load(server.url("/after")));
    EXPECT_TRUE(wait_for_title("after"));

    // Refresh from an error page retries the page itself.
    probe::terminate_web_process(*pane);
    ASSERT_TRUE(test::wait_until([&] { return page_text().find("意外终止") != std::string::npos; }));
    pane->exec(BrowserCommand::Refresh);
    ASSERT_TRUE(wait_for_title("after"));
    EXPECT_EQ(server.request_count("/after"), 2);

    // So does opening the same address again.
    probe::terminate_web_process(*pane);
    ASSERT_TRUE(test::wait_until([&] { return page_text().find("意外终止") != std::string::npos; }));
    ASSERT_TRUE(load(server.url("/after")));
    ASSERT_TRUE(wait_for_title("after"));
    EXPECT_EQ(server.request_count("/after"), 3);
}

} // namespace
} // namespace vesko
