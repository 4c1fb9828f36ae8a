// The status bar, the Address box and the caption following the pane's
// events, with a fake pane.

#include "tests/support/window_fixture.h"

#include <gdk/gdkkeysyms.h>

namespace vesko {
namespace {

using PageEventsTest = test::WindowTest;

TEST_F(PageEventsTest, StatusBarStartsWithItsLabelAndAnEmptyMessage)
{
    build_and_start();
    EXPECT_EQ(window->status_bar().part_count(), 2);
    EXPECT_EQ(window->status_bar().part_text(0), "当前状态:");
    EXPECT_EQ(message(), "");
    EXPECT_EQ(window->status_bar().get_name(), "状态条1");
}

TEST_F(PageEventsTest, EachEventShowsItsMessage)
{
    build_and_start();
    struct Case {
        std::function<void(test::FakeBrowserPane&)> raise;
        std::string expected;
    };
    const Case cases[] = {
        {[](auto& p) { p.url_value = "http://127.0.0.1:8080/页"; p.signal_before_navigate().emit(); },
         "正在转向 “http://127.0.0.1:8080/页”"},
        {[](auto& p) { p.url_value = ""; p.signal_before_navigate().emit(); }, "正在转向 “”"},
        {[](auto& p) { p.signal_progress_change().emit(0); }, "已经载入 0 %"},
        {[](auto& p) { p.signal_progress_change().emit(42); }, "已经载入 42 %"},
        {[](auto& p) { p.signal_progress_change().emit(100); }, "已经载入 100 %"},
        {[](auto& p) { p.signal_progress_change().emit(-5); }, "已经载入 -5 %"},
        {[](auto& p) { p.signal_progress_change().emit(250); }, "已经载入 250 %"},
        {[](auto& p) { p.status_text_value = "http://x.test/link"; p.signal_status_text_change().emit(); },
         "http://x.test/link"},
        {[](auto& p) { p.status_text_value = ""; p.signal_status_text_change().emit(); }, ""},
        {[](auto& p) { p.url_value = "http://done.test/"; p.signal_document_complete().emit(); }, "就绪"},
    };
    for (const Case& c : cases) {
        c.raise(*fake);
        EXPECT_EQ(message(), c.expected);
    }
}

TEST_F(PageEventsTest, StatusTextAndProgressReplaceEachOther)
{
    build_and_start();
    fake->signal_progress_change().emit(10);
    fake->status_text_value = "悬停的链接";
    fake->signal_status_text_change().emit();
    EXPECT_EQ(message(), "悬停的链接");
    fake->signal_progress_change().emit(20);
    EXPECT_EQ(message(), "已经载入 20 %");
}

TEST_F(PageEventsTest, ReadyShowsItsMessageBeforeTheBoxChangesAndReplacesTypedText)
{
    build_and_start();
    std::string message_when_box_changed;
    window->address_box().signal_changed().connect([&] { message_when_box_changed = message(); });

    window->address_box().set_text("typed while loading");
    fake->url_value = "http://127.0.0.1/ready";
    fake->signal_document_complete().emit();
    test::flush_events();
    EXPECT_EQ(window->address_box().get_text(), "http://127.0.0.1/ready");
    EXPECT_EQ(message_when_box_changed, "就绪");

    // Frames report ready too; the box ends with the last document's address.
    fake->url_value = "http://127.0.0.1/frame";
    fake->signal_document_complete().emit();
    fake->url_value = "http://127.0.0.1/page";
    fake->signal_document_complete().emit();
    test::flush_events();
    EXPECT_EQ(window->address_box().get_text(), "http://127.0.0.1/page");

    fake->url_value = "";
    fake->signal_document_complete().emit();
    test::flush_events();
    EXPECT_EQ(window->address_box().get_text(), "");
}

TEST_F(PageEventsTest, AKeyTypedRightAfterReadyGoesAfterThePagesAddress)
{
    build_and_start();
    window->address_box().set_text("old");
    window->address_box().grab_focus();
    fake->url_value = "http://127.0.0.1/ready";
    fake->signal_document_complete().emit();
    // The keys are handled before the loop has come round to the box.
    test::send_key(*window, GDK_KEY_End);
    test::send_key(*window, GDK_KEY_x);
    EXPECT_EQ(window->address_box().get_text(), "http://127.0.0.1/readyx");

    // Text put into the box after Ready in another way (a drop, a paste from
    // a menu) is newer than the address and stays.
    fake->url_value = "http://127.0.0.1/again";
    fake->signal_document_complete().emit();
    window->address_box().set_text("dropped text");
    test::flush_events();
    EXPECT_EQ(window->address_box().get_text(), "dropped text");
}

TEST_F(PageEventsTest, TheCaptionIsThePageTitleAlone)
{
    build_and_start();
    const std::string titles[] = {"新闻 - 首页", "", "😀 emoji", "مرحبا RTL", std::string("ctl\x01\x1f\x7f") + "x",
                                  std::string(100 * 1024, 't')};
    for (const std::string& title : titles) {
        fake->caption_value = title;
        fake->signal_title_change().emit();
        test::flush_events();
        if (title.size() < 2048)
            EXPECT_EQ(window->get_title(), title);
        else
            EXPECT_EQ(window->get_title().substr(0, 2048), title.substr(0, 2048));
    }
    // Text that is no UTF-8 is shown as well as it can be, never passed on raw.
    fake->caption_value = "bad \xff\xfe bytes";
    fake->signal_title_change().emit();
    test::flush_events();
    EXPECT_TRUE(g_utf8_validate(window->get_title().c_str(), -1, nullptr));
}

TEST_F(PageEventsTest, SetPartTextOutsideThePartsChangesNothing)
{
    build_and_start();
    StatusBar& bar = window->status_bar();
    bar.set_part_text(1, "kept");
    bar.set_part_text(-1, "x");
    bar.set_part_text(2, "x");
    EXPECT_EQ(bar.part_text(0), "当前状态:");
    EXPECT_EQ(bar.part_text(1), "kept");
}

TEST_F(PageEventsTest, ALongMessageNeitherWidensTheWindowNorMovesTheLabelPart)
{
    build_and_start();
    const int width = window->get_width();
    fake->status_text_value = std::string(20000, 'w');
    fake->signal_status_text_change().emit();
    test::flush_events();
    EXPECT_EQ(window->get_width(), width);
    for (int w : {900, 400}) {
        window->resize(w, 447);
        ASSERT_TRUE(test::wait_until([&] { return window->get_width() == w; }));
        test::flush_events();
        EXPECT_EQ(window->status_bar().part_widget(0)->get_allocated_width(), 60);
        EXPECT_EQ(window->status_bar().get_allocated_width(), window->client_width());
    }
}

} // namespace
} // namespace vesko
