// The menu bar built from the menu list, its shortcuts and mnemonics, item
// state, and Set text size.

#include "mainwindow/mnemonic.h"
#include "tests/support/window_fixture.h"

#include <gdk/gdkkeysyms.h>
#include <gtkmm/accellabel.h>
#include <gtkmm/checkmenuitem.h>
#include <gtkmm/separatormenuitem.h>

namespace vesko {
namespace {

using MenuTest = test::WindowTest;

int row_of(std::string_view caption)
{
    const int row = MainMenu::find(caption);
    EXPECT_GE(row, 0) << caption;
    return row;
}

// The shortcut an item is activated by, in the form the menu shows ("Ctrl+O").
std::string accelerator_of(Gtk::MenuItem& item)
{
    GtkWidget* widget = GTK_WIDGET(item.gobj());
    std::string found;
    for (GList* c = gtk_widget_list_accel_closures(widget); c; c = g_list_delete_link(c, c)) {
        auto* closure = static_cast<GClosure*>(c->data);
        GtkAccelGroup* group = gtk_accel_group_from_accel_closure(closure);
        GtkAccelKey* key = group ? gtk_accel_group_find(
                                       group, [](GtkAccelKey*, GClosure* cl, gpointer data) -> gboolean { return cl == data; }, closure)
                                 : nullptr;
        if (key) {
            gchar* label = gtk_accelerator_get_label(key->accel_key, key->accel_mods);
            found = label;
            g_free(label);
        }
    }
    return found;
}

// Walks the built menus in order, recording each item as the list would write it.
void walk(Gtk::MenuShell& shell, int level, std::vector<std::string>& out)
{
    for (Gtk::Widget* child : shell.get_children()) {
        auto* item = dynamic_cast<Gtk::MenuItem*>(child);
        ASSERT_NE(item, nullptr);
        if (dynamic_cast<Gtk::SeparatorMenuItem*>(item)) {
            out.push_back(std::to_string(level) + " -");
            continue;
        }
        std::string line = std::to_string(level) + " " + std::string(item->get_label());
        if (const std::string shortcut = accelerator_of(*item); !shortcut.empty())
            line += " [" + shortcut + "]";
        if (!item->is_sensitive())
            line += " disabled";
        if (auto* check = dynamic_cast<Gtk::CheckMenuItem*>(item); check && check->get_active())
            line += " checked";
        out.push_back(line);
        if (Gtk::Menu* sub = item->get_submenu())
            walk(*sub, level + 1, out);
    }
}

TEST_F(MenuTest, TheBuiltMenusMatchTheMenuListRowForRow)
{
    build_and_start();
    std::vector<std::string> built;
    walk(window->menu_bar(), 0, built);

    std::vector<std::string> expected;
    for (const description::MenuRow& r : description::menu) {
        if (r.caption == "-") {
            expected.push_back(std::to_string(r.level) + " -");
            continue;
        }
        std::string line = std::to_string(r.level) + " " + gtk_mnemonic(r.caption);
        if (!r.shortcut.empty())
            line += " [" + std::string(r.shortcut) + "]";
        if (r.disabled)
            line += " disabled";
        if (r.checked)
            line += " checked";
        expected.push_back(line);
    }
    EXPECT_EQ(built, expected);
    // Three menus; the text size menu is inside the second one.
    EXPECT_EQ(window->menu_bar().get_children().size(), 3u);
    EXPECT_EQ(built.front(), "0 _F.文件");
    EXPECT_NE(std::find(built.begin(), built.end(), "2 _G.最大"), built.end());
    EXPECT_NE(std::find(built.begin(), built.end(), "1 _P.打印 [Ctrl+P]"), built.end());
    EXPECT_NE(std::find(built.begin(), built.end(), "1 _B.后退 disabled"), built.end());
}

TEST_F(MenuTest, SetTextSizeKeepsExactlyOneItemCheckedAndWritesTheLevel)
{
    build_and_start();
    const char* items[] = {"&A.最小", "&S.较小", "&M.中等", "&L.较大", "&G.最大"};
    auto checked = [&] {
        std::vector<int> levels;
        for (int level = 0; level < 5; ++level) {
            if (window->menu().checked(row_of(items[level])))
                levels.push_back(level);
        }
        return levels;
    };
    EXPECT_TRUE(checked().empty()); // nothing checked at start

    struct Step {
        const char* item; // chosen from the menu bar, or null for the toolbar's Text size button
        int level;
    } steps[] = {{"&L.较大", 3}, {"&A.最小", 0}, {"&G.最大", 4}, {"&G.最大", 4}, {nullptr, 2}, {nullptr, 2}};
    std::vector<std::string> expected_log;
    for (const Step& s : steps) {
        if (s.item)
            window->menu().item(row_of(s.item))->activate();
        else
            window->toolbar().picture_part(6)->clicked();
        expected_log.push_back("set_font_size " + std::to_string(s.level));
        EXPECT_EQ(checked(), std::vector<int>{s.level}) << (s.item ? s.item : "toolbar");
        auto* widget = dynamic_cast<Gtk::CheckMenuItem*>(window->menu().item(row_of(items[s.level])));
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(widget->get_active()); // GTK's own toggle was undone
    }
    EXPECT_EQ(fake->log, expected_log);
}

TEST_F(MenuTest, EveryItemRunsItsAction)
{
    build_and_start();
    window->menu().set_disabled(row_of("&F.前进"), false);
    window->menu().set_disabled(row_of("&B.后退"), false);
    const std::pair<const char*, const char*> cases[] = {
        {"&A.另存为", "exec 6"}, {"&P.打印", "exec 7"},  {"&V.打印预览", "exec 8"}, {"&U.页面设置", "exec 9"},
        {"&F.前进", "exec 0"},   {"&B.后退", "exec 1"},  {"&H.到首页", "exec 2"},   {"&S.到搜索页", "exec 3"},
        {"&R.刷新", "exec 4"},   {"&S.停止", "exec 5"},
    };
    for (const auto& [caption, call] : cases) {
        fake->log.clear();
        window->menu().item(row_of(caption))->activate();
        EXPECT_EQ(fake->log, std::vector<std::string>{call}) << caption;
    }
    window->menu().item(row_of("&O.在新窗口中打开"))->activate();
    EXPECT_EQ(dialogs->asked, 1);
    window->menu().item(row_of("&A.关于Vesko浏览器"))->activate();
    EXPECT_EQ(dialogs->abouts, 1);
}

TEST_F(MenuTest, DisabledItemsCannotBeChosenAndStateChangesShowAtOnce)
{
    build_and_start();
    const int forward = row_of("&F.前进");
    EXPECT_TRUE(window->menu().disabled(forward));
    Gtk::MenuItem* item = window->menu().item(forward);
    EXPECT_FALSE(item->is_sensitive());
    item->activate();
    EXPECT_TRUE(fake->log.empty());

    window->menu().set_disabled(forward, false);
    EXPECT_TRUE(item->is_sensitive());
    window->menu().set_hidden(forward, true);
    EXPECT_FALSE(item->get_visible());
    EXPECT_TRUE(window->menu().hidden(forward));
    window->menu().set_hidden(forward, false);
    window->menu().set_checked(forward, true);
    EXPECT_TRUE(dynamic_cast<Gtk::CheckMenuItem*>(item)->get_active());

    // Titles and separators run nothing.
    window->menu().item(row_of("&V.浏览"))->activate();
    window->menu().item(row_of("&T.字体"))->activate();
    window->menu().item(3)->activate(); // the first separator
    EXPECT_TRUE(fake->log.empty());
}

TEST_F(MenuTest, ShortcutsWorkWhereverTheFocusIs)
{
    build_and_start();
    window->pane().widget().grab_focus();
    ASSERT_TRUE(window->pane().widget().has_focus());
    test::send_key(*window, GDK_KEY_o, GDK_CONTROL_MASK);
    EXPECT_EQ(dialogs->asked, 1);
    test::send_key(*window, GDK_KEY_p, GDK_CONTROL_MASK);
    EXPECT_EQ(fake->log, std::vector<std::string>{"exec 7"});

    window->address_box().grab_focus();
    test::send_key(*window, GDK_KEY_p, GDK_CONTROL_MASK);
    EXPECT_EQ(fake->log.size(), 2u);
    // Ctrl with Shift is no shortcut.
    test::send_key(*window, GDK_KEY_O, static_cast<GdkModifierType>(GDK_CONTROL_MASK | GDK_SHIFT_MASK));
    EXPECT_EQ(dialogs->asked, 1);
}

TEST_F(MenuTest, AltAndAMnemonicOpenAMenu)
{
    build_and_start();
    Gtk::MenuItem* browse = window->menu().item(row_of("&V.浏览"));
    test::send_key(*window, GDK_KEY_v, GDK_MOD1_MASK);
    ASSERT_TRUE(test::wait_until([&] { return browse->get_submenu()->get_visible(); }, std::chrono::seconds(3)));
    test::send_key(*window, GDK_KEY_Escape);
    test::flush_events();
    EXPECT_TRUE(window->get_visible());
    window->menu_bar().deactivate();
}

TEST_F(MenuTest, ExitEndsTheWindowAfterItsHandlerReturned)
{
    build_and_start();
    window->menu().item(row_of("&X.退出"))->activate();
    EXPECT_TRUE(window->get_visible());
    EXPECT_TRUE(test::wait_until([&] { return !window->get_visible(); }));
}

} // namespace
} // namespace vesko
