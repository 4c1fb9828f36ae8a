// The toolbar: its buttons and their actions, Back/Forward state with the
// menu, the Text size drop-down, pictures, tooltips and wrapping.

#include "tests/support/window_fixture.h"

#include <glibmm/main.h>
#include <gtkmm/checkmenuitem.h>

namespace vesko {
namespace {

using ToolbarTest = test::WindowTest;

TEST_F(ToolbarTest, EachIndexDoesWhatItsButtonSays)
{
    build_and_start();
    const std::pair<int, std::vector<std::string>> cases[] = {
        {-1, {}},           {0, {"exec 2"}}, {1, {"exec 1"}}, {2, {"exec 0"}}, {3, {"exec 5"}},
        {4, {"exec 4"}},    {5, {}},         {6, {"set_font_size 2"}},          {7, {"exec 7"}},
        {8, {}},            {9, {}},
    };
    for (const auto& [index, calls] : cases) {
        fake->log.clear();
        window->on_toolbar_button_clicked(index);
        EXPECT_EQ(fake->log, calls) << index;
    }
}

TEST_F(ToolbarTest, ButtonsStartAsDescribedAndDisabledOnesRaiseNothing)
{
    build_and_start();
    Toolbar& bar = window->toolbar();
    EXPECT_EQ(bar.button_count(), 9);
    EXPECT_EQ(bar.get_name(), "工具条1");
    for (int i : {1, 2}) {
        EXPECT_EQ(bar.button_state(i), Toolbar::state_disabled);
        EXPECT_FALSE(bar.button_widget(i)->is_sensitive());
        bar.picture_part(i)->clicked();
    }
    EXPECT_TRUE(fake->log.empty());
    const std::pair<int, const char*> tooltips[] = {{0, "首页"}, {1, "后退"}, {2, "前进"}, {3, "停止"},
                                                    {4, "刷新"}, {6, "字体"}, {7, "打印"}};
    for (const auto& [i, tip] : tooltips)
        EXPECT_EQ(bar.picture_part(i)->get_tooltip_text(), tip);
    EXPECT_EQ(bar.picture_part(5), nullptr);
    EXPECT_NE(bar.arrow_part(6), nullptr);
    EXPECT_EQ(bar.arrow_part(0), nullptr);
    // A click on a real, enabled button reaches the handler.
    bar.picture_part(4)->clicked();
    EXPECT_EQ(fake->log, std::vector<std::string>{"exec 4"});
}

TEST_F(ToolbarTest, CommandStateMovesButtonAndMenuItemTogether)
{
    build_and_start();
    const int forward_row = MainMenu::find("&F.前进");
    const int back_row = MainMenu::find("&B.后退");
    struct Case {
        int command;
        int enabled;
        bool forward_enabled;
        bool back_enabled;
    } cases[] = {
        {1, 1, false, true}, {1, 1, false, true}, {0, 7, true, true},  {7, 0, true, true},
        {-1, 0, true, true}, {1, 0, true, false}, {0, 0, false, false}, {0, 0, false, false},
    };
    for (const Case& c : cases) {
        fake->signal_command_state_change().emit(c.command, c.enabled);
        EXPECT_EQ(window->toolbar().button_widget(2)->is_sensitive(), c.forward_enabled) << c.command << c.enabled;
        EXPECT_EQ(!window->menu().disabled(forward_row), c.forward_enabled);
        EXPECT_EQ(window->toolbar().button_widget(1)->is_sensitive(), c.back_enabled);
        EXPECT_EQ(!window->menu().disabled(back_row), c.back_enabled);
    }
}

TEST_F(ToolbarTest, ButtonStateOutsideTheButtonsDoesNothing)
{
    build_and_start();
    Toolbar& bar = window->toolbar();
    bar.add_button_state(-1, Toolbar::state_disabled);
    bar.add_button_state(9, Toolbar::state_disabled);
    bar.remove_button_state(9, Toolbar::state_disabled);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(bar.button_state(i), i == 1 || i == 2 ? Toolbar::state_disabled : 0);
    bar.add_button_state(0, Toolbar::state_disabled);
    bar.add_button_state(0, Toolbar::state_disabled);
    EXPECT_FALSE(bar.button_widget(0)->is_sensitive());
    bar.remove_button_state(0, Toolbar::state_disabled);
    EXPECT_TRUE(bar.button_widget(0)->is_sensitive());
}

TEST_F(ToolbarTest, TheArrowPopsUpTheTextSizeMenuBelowTheButton)
{
    build_and_start();
    window->move(100, 80); // the point follows the window
    ASSERT_TRUE(test::wait_until([&] {
        int x = 0, y = 0;
        window->get_window()->get_origin(x, y);
        return x == 100;
    }));
    test::flush_events();
    window->set_text_size(1);
    fake->log.clear();

    Gtk::Widget* whole = window->toolbar().button_widget(6);
    int ox = 0, oy = 0, bx = 0, by = 0;
    window->get_window()->get_origin(ox, oy);
    whole->translate_coordinates(*window, 0, 0, bx, by);
    const int expected_x = ox + bx;
    const int expected_y = oy + by + whole->get_allocated_height() + 2;

    std::vector<std::string> shown;
    int popup_x = -1, popup_y = -1;
    // While the popup runs its own loop, look at it and choose "&G.最大".
    Glib::signal_timeout().connect_once([&] {
        Gtk::Menu* popup = window->menu().open_popup();
        ASSERT_NE(popup, nullptr);
        popup->get_toplevel()->get_window()->get_origin(popup_x, popup_y);
        Gtk::MenuItem* largest = nullptr;
        for (Gtk::Widget* child : popup->get_children()) {
            auto* check = dynamic_cast<Gtk::CheckMenuItem*>(child);
            shown.push_back(std::string(check->get_label()) + (check->get_active() ? " checked" : ""));
            if (check->get_label() == "_G.最大")
                largest = check;
        }
        popup->activate_item(*largest, true);
    }, 300);

    test::press_button(*window->toolbar().arrow_part(6), false);

    EXPECT_EQ(shown, (std::vector<std::string>{"_G.最大", "_L.较大", "_M.中等", "_S.较小 checked", "_A.最小"}));
    EXPECT_EQ(popup_x, expected_x);
    EXPECT_EQ(popup_y, expected_y);
    EXPECT_EQ(fake->log, std::vector<std::string>{"set_font_size 4"});
    EXPECT_TRUE(window->menu().checked(MainMenu::find("&G.最大")));
    EXPECT_FALSE(window->menu().checked(MainMenu::find("&S.较小")));
}

TEST_F(ToolbarTest, ClosingThePopupWithoutAChoiceChangesNothing)
{
    build_and_start();
    Glib::signal_timeout().connect_once([&] { window->menu().open_popup()->cancel(); }, 200);
    window->popup_menu("&T.字体", 200, 200);
    EXPECT_TRUE(fake->log.empty());
    EXPECT_EQ(window->menu().open_popup(), nullptr);
    // An item without a submenu shows nothing and returns at once.
    window->popup_menu("&R.刷新", 200, 200);
}

TEST_F(ToolbarTest, TheHotPictureShowsUnderThePointer)
{
    build_and_start();
    Gtk::Button* home = window->toolbar().picture_part(0);
    EXPECT_FALSE(window->toolbar().shows_hot_picture(0));
    test::hover(*home);
    EXPECT_TRUE(window->toolbar().shows_hot_picture(0));
    test::hover(*home, true);
    EXPECT_FALSE(window->toolbar().shows_hot_picture(0));
    // The drop-down button lights up from its arrow too.
    test::hover(*window->toolbar().arrow_part(6));
    EXPECT_TRUE(window->toolbar().shows_hot_picture(6));
    test::hover(*window->toolbar().arrow_part(6), true);
    // A disabled button never lights up.
    window->toolbar().picture_part(1)->set_state_flags(Gtk::STATE_FLAG_PRELIGHT, false);
    EXPECT_FALSE(window->toolbar().shows_hot_picture(1));
}

TEST_F(ToolbarTest, ANarrowWindowWrapsTheButtonsAndThePaneFollows)
{
    build_and_start();
    const int one_row = window->control_rect("工具条1").get_height();
    window->resize(120, 400);
    ASSERT_TRUE(test::wait_until([&] { return window->client_width() == 120; }));
    test::flush_events();
    const Gdk::Rectangle strip = window->control_rect("工具条1");
    EXPECT_GT(strip.get_height(), one_row);
    EXPECT_EQ(strip.get_width(), 120);
    // The pane keeps its top and follows the resize rule.
    const Gdk::Rectangle pane = window->control_rect("超文本浏览框1");
    EXPECT_EQ(pane.get_y(), 33);
    EXPECT_EQ(pane.get_width(), 100);
    EXPECT_EQ(pane.get_height(), std::max(0, window->control_rect("状态条1").get_y() - 43));
}

} // namespace
} // namespace vesko
