// The Main window with a fake pane, under Xvfb: start-up order, layout,
// keyboard.

#include "tests/support/window_fixture.h"

#include <gdk/gdkkeysyms.h>
#include <gdkmm/display.h>
#include <gdkmm/monitor.h>
#include <gtkmm/icontheme.h>
#include <gtest/gtest.h>

#include <memory>

namespace vesko {
namespace {

using test::FakeBrowserPane;

class MainWindowTest : public test::WindowTest {
protected:
    void expect_layout_follows_rule()
    {
        const int w = window->client_width();
        const Gdk::Rectangle bar = window->control_rect(description::status_bar_name);
        const Gdk::Rectangle pane = window->control_rect(description::browser_pane_name);
        const Gdk::Rectangle box = window->control_rect(description::address_box_name);
        EXPECT_EQ(bar.get_width(), w);
        EXPECT_EQ(bar.get_y() + bar.get_height(), window->client_area().get_allocated_height());
        EXPECT_EQ(pane.get_x(), 10);
        EXPECT_EQ(pane.get_y(), 33);
        EXPECT_EQ(pane.get_width(), std::max(0, w - 20));
        EXPECT_EQ(pane.get_y() + pane.get_height(), std::max(33, bar.get_y() - 10));
        EXPECT_EQ(box.get_x(), 439);
        EXPECT_EQ(box.get_y(), 5);
        EXPECT_EQ(box.get_width(), std::max(50, w - 10 - 439));
        EXPECT_EQ(window->control_rect(description::toolbar_name).get_width(), w);
        // What GTK really gave the pane widget matches.
        EXPECT_EQ(window->pane().widget().get_allocated_width(), pane.get_width());
    }

};

TEST_F(MainWindowTest, EventsRaisedWhileBuildingReachNoHandler)
{
    build([](FakeBrowserPane& pane) {
        pane.on_widget_requested = [&pane] {
            pane.url_value = "http://early.test/";
            pane.caption_value = "early";
            pane.signal_before_navigate().emit();
            pane.signal_title_change().emit();
            pane.signal_document_complete().emit();
        };
    });
    EXPECT_FALSE(window->handlers_enabled());
    EXPECT_EQ(message(), "");
    EXPECT_EQ(window->get_title(), "Vesko浏览器");
    EXPECT_EQ(window->address_box().get_text(), std::string(description::initial_address));

    start_and_wait();
    fake->url_value = "http://later.test/";
    fake->signal_before_navigate().emit();
    EXPECT_EQ(message(), "正在转向 “http://later.test/”");
}

TEST_F(MainWindowTest, CreatedHandlerFocusesTheBoxAndGoesOnlineBeforeTheWindowIsSeen)
{
    build();
    EXPECT_TRUE(fake->log.empty()); // the pane's own creation is its business
    bool laid_out_when_shown = false;
    window->signal_show().connect([&] {
        const Gdk::Rectangle pane = window->control_rect(description::browser_pane_name);
        laid_out_when_shown = pane.get_width() == window->client_width() - 20 && pane.get_width() > 0;
    });
    start_and_wait();
    EXPECT_TRUE(laid_out_when_shown);
    EXPECT_EQ(fake->log, std::vector<std::string>{"set_offline false"});
    EXPECT_TRUE(window->address_box().has_focus());
    int start = -1, end = -1;
    EXPECT_FALSE(window->address_box().get_selection_bounds(start, end));
    EXPECT_EQ(window->address_box().get_position(), 0);
}

TEST_F(MainWindowTest, OpensAtItsDescribedSizeAndCentred)
{
    build();
    start_and_wait();
    int w = 0, h = 0;
    window->get_size(w, h);
    EXPECT_EQ(w, 649);
    EXPECT_EQ(h, 447);
    int x = 0, y = 0;
    window->get_position(x, y);
    Gdk::Rectangle screen;
    Gdk::Display::get_default()->get_primary_monitor()->get_geometry(screen);
    EXPECT_EQ(x, (screen.get_width() - 649) / 2);
    EXPECT_EQ(y, (screen.get_height() - 447) / 2);
    EXPECT_EQ(window->get_title(), "Vesko浏览器");
    EXPECT_EQ(window->client_width(), 649);
    // The program's icon comes with the program, at every size it is drawn in.
    EXPECT_EQ(window->get_icon_name(), "vesko");
    auto theme = Gtk::IconTheme::get_default();
    for (int size : {16, 32, 48, 64, 96, 128}) {
        auto icon = theme->load_icon("vesko", size, Gtk::ICON_LOOKUP_FORCE_SIZE);
        ASSERT_TRUE(icon) << size;
        EXPECT_EQ(icon->get_width(), size);
        EXPECT_TRUE(icon->get_has_alpha());
    }
}

TEST_F(MainWindowTest, ControlsSitWhereTheDescriptionPutsThem)
{
    build();
    start_and_wait();
    expect_layout_follows_rule();
    for (std::string_view name : {description::email_label_name, description::address_label_name}) {
        const auto& c = description::control(name);
        EXPECT_EQ(window->control_rect(name), Gdk::Rectangle(c.left, c.top, c.width, c.height)) << name;
        EXPECT_EQ(window->control(name)->get_allocated_height(), c.height) << name;
    }
    // The box has the described height even though the theme would make entries taller.
    EXPECT_EQ(window->address_box().get_allocated_height(), 20);
    EXPECT_EQ(window->control(description::address_box_name)->get_name(), "地址编辑框");
    EXPECT_EQ(window->pane().widget().get_name(), "超文本浏览框1");
}

TEST_F(MainWindowTest, LayoutFollowsEveryResize)
{
    build();
    start_and_wait();
    for (auto [w, h] : {std::pair{900, 600}, std::pair{300, 200}, std::pair{40, 120}, std::pair{700, 500}}) {
        window->resize(w, h);
        ASSERT_TRUE(test::wait_until([&] { return window->client_width() == w; })) << w;
        test::flush_events();
        expect_layout_follows_rule();
    }
}

TEST_F(MainWindowTest, EscClosesTheWindowShiftEscDoesNot)
{
    build();
    start_and_wait();
    test::send_key(*window, GDK_KEY_Escape, GDK_SHIFT_MASK);
    test::flush_events();
    EXPECT_TRUE(window->get_visible());

    ASSERT_TRUE(window->address_box().has_focus());
    test::send_key(*window, GDK_KEY_Escape);
    EXPECT_TRUE(test::wait_until([&] { return !window->get_visible(); }));
}

TEST_F(MainWindowTest, EnterKeepsTheFocusAndTabMovesBetweenBoxAndPane)
{
    build();
    start_and_wait();
    Gtk::Widget& pane = window->pane().widget();

    test::send_key(*window, GDK_KEY_Return);
    EXPECT_TRUE(window->address_box().has_focus());
    EXPECT_TRUE(window->get_visible());

    test::send_key(*window, GDK_KEY_Tab);
    EXPECT_TRUE(pane.has_focus());
    test::send_key(*window, GDK_KEY_Tab);
    EXPECT_TRUE(window->address_box().has_focus());
    test::send_key(*window, GDK_KEY_ISO_Left_Tab, GDK_SHIFT_MASK);
    EXPECT_TRUE(pane.has_focus());
    test::send_key(*window, GDK_KEY_ISO_Left_Tab, GDK_SHIFT_MASK);
    EXPECT_TRUE(window->address_box().has_focus());
}

TEST_F(MainWindowTest, ExitReturnsFirstAndTheWindowGoesWithTheLoop)
{
    build();
    start_and_wait();
    window->exit_command();
    EXPECT_TRUE(window->get_visible());
    EXPECT_TRUE(test::wait_until([&] { return !window->get_visible(); }));
}

TEST_F(MainWindowTest, ExitAfterTheWindowIsGoneDoesNothing)
{
    build();
    start_and_wait();
    window->exit_command();
    window.reset();
    test::run_loop_for(std::chrono::milliseconds(50)); // the queued request must not touch the freed window
}

} // namespace
} // namespace vesko
