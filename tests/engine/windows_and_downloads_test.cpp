// Separate browser windows, named targets, and downloads on the real engine.

#include "tests/support/engine_fixture.h"
#include "tests/support/scratch_folder.h"

namespace vesko {
namespace {

using test::ScratchFolder;

class WindowsTest : public test::EngineTest {
protected:
    bool wait_windows(std::size_t n)
    {
        return test::wait_until([&] { return engine->separate_window_count() == n; }, std::chrono::seconds(20));
    }
    bool wait_separate_title(std::size_t index, const std::string& title)
    {
        return test::wait_until(
            [&] {
                BrowserPane* p = engine->separate_window_pane(index);
                return p && probe::page_title(*p) == title;
            },
            std::chrono::seconds(20));
    }
};

TEST_F(WindowsTest, TwoNavigationsInTargetAbcShareOneNewWindow)
{
    server.add_page("/start", "<title>start</title>");
    server.add_page("/first", "<title>first</title>");
    server.add_page("/second", "<title>second</title>");
    ASSERT_TRUE(load(server.url("/start")));

    pane->navigate_in_target(server.url("/first"), "abc");
    ASSERT_TRUE(wait_windows(1));
    ASSERT_TRUE(wait_separate_title(0, "first"));
    // The window's caption follows its page.
    ASSERT_TRUE(test::wait_until([&] { return engine->separate_window(0)->get_title() == "first"; }));
    EXPECT_TRUE(engine->separate_window(0)->get_visible());

    pane->navigate_in_target(server.url("/second"), "abc");
    ASSERT_TRUE(wait_separate_title(0, "second"));
    EXPECT_EQ(engine->separate_window_count(), 1u);
    EXPECT_EQ(probe::page_title(*pane), "start"); // the Main window's page stays
}

TEST_F(WindowsTest, AFrameNamedAbcTakesTheLoadInstead)
{
    server.add_page("/framed", "<title>framed</title><iframe name='abc' src='/inner'></iframe>");
    server.add_page("/inner", "<p>inner</p>");
    server.add_page("/into-frame", "<title>in frame</title>");
    ASSERT_TRUE(load(server.url("/framed")));
    ASSERT_TRUE(test::wait_until([&] { return server.request_count("/inner") == 1; }));

    pane->navigate_in_target(server.url("/into-frame"), "abc");
    ASSERT_TRUE(test::wait_until([&] {
        return probe::evaluate(*pane, "frames['abc'].document.title").value_or("") == "in frame";
    }));
    EXPECT_EQ(engine->separate_window_count(), 0u);
}

TEST_F(WindowsTest, AnAddressWithQuotesAndScriptTagsIsOnlyAnAddress)
{
    server.add_page("/start", "<title>start</title>");
    ASSERT_TRUE(load(server.url("/start")));
    // Were the address spliced into script, this would set the opener's title.
    const std::string hostile = server.url("/x\"');document.title='pwned';//</script><script>document.title='pwned'</script>");
    pane->navigate_in_target(hostile, "abc");
    ASSERT_TRUE(wait_windows(1));
    // The server is asked for that address, quotes and tags and all.
    ASSERT_TRUE(test::wait_until([&] {
        for (const std::string& path : server.requests()) {
            if (path.rfind("/x", 0) == 0 && path.find("script") != std::string::npos)
                return true;
        }
        return false;
    }));
    test::run_loop_for(std::chrono::milliseconds(200));
    EXPECT_EQ(probe::page_title(*pane), "start");

    // A page that redefines window.open cannot catch the call either.
    server.add_page("/trap", "<title>trap</title><script>window.open = function() { document.title = 'caught'; };</script>");
    server.add_page("/free", "<title>free</title>");
    ASSERT_TRUE(load(server.url("/trap")));
    pane->navigate_in_target(server.url("/free"), "abc");
    ASSERT_TRUE(wait_separate_title(0, "free"));
    EXPECT_EQ(probe::page_title(*pane), "trap");
}

TEST_F(WindowsTest, AScriptAddressIsNeverHandedToANamedWindow)
{
    server.add_page("/start", "<title>start</title>");
    ASSERT_TRUE(load(server.url("/start")));
    pane->navigate_in_target("javascript:document.title='ran'", "abc");
    test::run_loop_for(std::chrono::milliseconds(300));
    EXPECT_EQ(engine->separate_window_count(), 0u);
    EXPECT_EQ(probe::page_title(*pane), "start");
    EXPECT_EQ(dialogs->failures.size(), 1u);
}

TEST_F(WindowsTest, ALinkWithTargetBlankOpensAWindowThatItsPageCanClose)
{
    server.add_page("/links", "<title>links</title><body style='margin:0'>"
                              "<a href='/popup' target='_blank' style='display:block;width:300px;height:100px'>open</a>");
    server.add_page("/popup", "<title>popup</title><button id='b' onclick='window.close()'>close</button>");
    ASSERT_TRUE(load(server.url("/links")));

    // A real click, so that the engine's popup rules see a user gesture.
    GdkWindow* target = gtk_widget_get_window(GTK_WIDGET(pane->widget().gobj()));
    Gtk::Allocation a = pane->widget().get_allocation();
    const int x = (pane->widget().get_has_window() ? 0 : a.get_x()) + 50;
    const int y = (pane->widget().get_has_window() ? 0 : a.get_y()) + 50;
    test::click_in_window(target, x, y);

    ASSERT_TRUE(wait_windows(1));
    ASSERT_TRUE(wait_separate_title(0, "popup"));
    EXPECT_EQ(probe::page_title(*pane), "links");

    BrowserPane* popup = engine->separate_window_pane(0);
    ASSERT_TRUE(probe::evaluate(*popup, "document.getElementById('b').click(); true").has_value());
    ASSERT_TRUE(wait_windows(0));
}

TEST_F(WindowsTest, WindowFeaturesSizeTheWindow)
{
    server.add_page("/start", "<title>start</title>");
    server.add_page("/small", "<title>small</title>");
    ASSERT_TRUE(load(server.url("/start")));
    ASSERT_TRUE(probe::evaluate(*pane, "window.open('/small', 'w', 'width=320,height=240'); true").has_value());
    ASSERT_TRUE(wait_windows(1));
    ASSERT_TRUE(wait_separate_title(0, "small"));
    ASSERT_TRUE(test::wait_until([&] { return engine->separate_window(0)->get_visible(); }));
    int w = 0, h = 0;
    engine->separate_window(0)->get_default_size(w, h);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);
}

class DownloadsTest : public test::EngineTest {};

TEST_F(DownloadsTest, ADownloadIsSavedByteForByte)
{
    std::string bytes;
    for (int i = 0; i < 300000; ++i)
        bytes += static_cast<char>((i * 7919) & 0xff);
    test::Response file;
    file.content_type = "application/octet-stream";
    file.body = bytes;
    file.headers["Content-Disposition"] = "attachment; filename=\"数据 file.bin\"";
    server.add("/file.bin", file);

    ScratchFolder folder;
    dialogs->download_answers.push_back(folder.file("saved.bin"));
    pane->set_url(server.url("/file.bin"));
    ASSERT_TRUE(test::wait_until(
        [&] { return test::list_folder(folder.path()) == std::vector<std::string>{"saved.bin"} &&
                     test::read_file(folder.file("saved.bin")).size() == bytes.size(); },
        std::chrono::seconds(20)));
    EXPECT_EQ(test::read_file(folder.file("saved.bin")), bytes);
    EXPECT_EQ(dialogs->suggested_download_names, std::vector<std::string>{"数据 file.bin"});
}

TEST_F(DownloadsTest, ATypeTheEngineCannotShowIsDownloadedAndCancellingLeavesNothing)
{
    test::Response archive;
    archive.content_type = "application/x-vesko-unknown";
    archive.body = "not for showing";
    server.add("/thing", archive);
    server.add_page("/page", "<title>page</title>");
    ASSERT_TRUE(load(server.url("/page")));

    ScratchFolder folder;
    pane->set_url(server.url("/thing")); // nothing queued: the user cancels
    ASSERT_TRUE(test::wait_until([&] { return dialogs->suggested_download_names.size() == 1; }));
    test::run_loop_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(test::list_folder(folder.path()).empty());
    EXPECT_TRUE(dialogs->failures.empty());
    // The page the user was on stays.
    EXPECT_EQ(probe::page_title(*pane), "page");
}

} // namespace
} // namespace vesko
