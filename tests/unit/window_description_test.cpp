#include "mainwindow/window_description.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace vesko {
namespace {

using namespace description;

bool action_is_valid(const Action& a)
{
    switch (a.kind) {
    case ActionKind::BrowserCommand:
        return a.argument >= 0 && a.argument <= 9;
    case ActionKind::SetTextSize:
        return a.argument >= 0 && a.argument <= 4;
    default:
        return a.argument == 0;
    }
}

TEST(WindowDescription, ControlsAreUniqueAndPlacedAsTheWindowExpects)
{
    std::set<std::string_view> names;
    for (const Control& c : controls)
        EXPECT_TRUE(names.insert(c.name).second) << c.name;
    EXPECT_EQ(controls.size(), 6u);
    // The resize rule reads these fixed positions.
    EXPECT_EQ(control(browser_pane_name).left, 10);
    EXPECT_EQ(control(browser_pane_name).top, 33);
    EXPECT_EQ(control(address_box_name).left, 439);
    EXPECT_EQ(control(address_box_name).text, initial_address);
    EXPECT_EQ(control(toolbar_name).dock, Dock::Top);
    EXPECT_EQ(control(status_bar_name).dock, Dock::Bottom);
    EXPECT_EQ(control(email_label_name).text.substr(0, std::string_view("我的邮箱：").size()), "我的邮箱：");
    EXPECT_NE(control(email_label_name).text.find("@example."), std::string_view::npos);
}

TEST(WindowDescription, MenuRowsNestAndNameRealActions)
{
    std::set<std::string_view> captions;
    int text_size_items[5] = {};
    int level = 0;
    for (const MenuRow& r : menu) {
        EXPECT_LE(r.level, level + 1) << r.caption; // a submenu opens one level at a time
        level = r.level;
        EXPECT_TRUE(action_is_valid(r.action)) << r.caption;
        EXPECT_TRUE(r.shortcut.empty() || r.shortcut == "Ctrl+O" || r.shortcut == "Ctrl+P") << r.caption;
        if (r.caption != menu_separator)
            EXPECT_TRUE(captions.insert(r.caption).second) << "caption twice: " << r.caption;
        if (r.action.kind == ActionKind::SetTextSize)
            ++text_size_items[r.action.argument];
        EXPECT_FALSE(r.hidden);
    }
    for (int count : text_size_items)
        EXPECT_EQ(count, 1);
    EXPECT_EQ(menu.front().level, 0);
}

TEST(WindowDescription, ToolbarAndStatusParts)
{
    ASSERT_EQ(toolbar.size(), 9u);
    for (std::size_t i = 0; i < toolbar.size(); ++i) {
        const ToolbarButton& b = toolbar[i];
        EXPECT_TRUE(action_is_valid(b.action)) << i;
        EXPECT_EQ(b.style == ButtonStyle::Separator, i == 5 || i == 8) << i;
        EXPECT_EQ(b.picture < 0, b.style == ButtonStyle::Separator) << i;
        EXPECT_LT(b.picture, 7) << i;
    }
    EXPECT_TRUE(toolbar[back_button].disabled);
    EXPECT_TRUE(toolbar[forward_button].disabled);
    ASSERT_EQ(status_parts.size(), 2u);
    EXPECT_EQ(status_parts[0].width, 60);
    EXPECT_EQ(status_parts[1].width, -1);
}

} // namespace
} // namespace vesko
