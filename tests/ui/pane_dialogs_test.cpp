// The real save dialog the pane asks through, answered from the loop.

#include "browser/pane_dialogs.h"
#include "tests/support/main_loop.h"

#include <glibmm/main.h>
#include <gtest/gtest.h>
#include <gtkmm/filechooserdialog.h>

namespace vesko {
namespace {

Gtk::FileChooserDialog* open_file_chooser()
{
    for (Gtk::Window* w : Gtk::Window::list_toplevels()) {
        if (auto* chooser = dynamic_cast<Gtk::FileChooserDialog*>(w); chooser && chooser->get_visible())
            return chooser;
    }
    return nullptr;
}

TEST(SaveDialogTest, OffersBothTypesInChineseAndFollowsTheTypeWithTheExtension)
{
    auto dialogs = make_gtk_pane_dialogs();
    std::string title;
    std::vector<std::string> filters;
    std::string first_name;
    std::string html_name;
    bool confirms_overwrite = false;
    Glib::signal_timeout().connect_once([&] {
        Gtk::FileChooserDialog* chooser = open_file_chooser();
        ASSERT_NE(chooser, nullptr);
        title = chooser->get_title();
        for (const auto& f : chooser->list_filters())
            filters.push_back(f->get_name());
        first_name = chooser->get_current_name();
        confirms_overwrite = chooser->get_do_overwrite_confirmation();
        chooser->set_filter(chooser->list_filters()[1]);
        html_name = chooser->get_current_name();
        chooser->response(Gtk::RESPONSE_CANCEL);
    }, 300);
    EXPECT_FALSE(dialogs->ask_save_target(nullptr, "新闻 首页").has_value());
    EXPECT_EQ(title, "另存为");
    EXPECT_EQ(filters, (std::vector<std::string>{"网页，全部 (*.mht)", "网页，仅 HTML (*.html)"}));
    EXPECT_EQ(first_name, "新闻 首页.mht");
    EXPECT_EQ(html_name, "新闻 首页.html");
    EXPECT_TRUE(confirms_overwrite);
}

TEST(FileNameFromTitle, KeepsWhatAFileNameMayHold)
{
    const std::pair<std::string, std::string> cases[] = {
        {"新闻 - 首页", "新闻 - 首页"},
        {"a/b\\c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j"},
        {"  spaced \t out  ", "spaced out"},
        {"", "网页"},
        {"...", "网页"},
        {std::string("ctl\x01\x7f") + "x", "ctl_x"},
        {std::string(300, 'x'), std::string(100, 'x')},
        {"bad \xff utf8", "bad \xef\xbf\xbd utf8"},
    };
    for (const auto& [title, name] : cases)
        EXPECT_EQ(file_name_from_title(title), name) << title;
}

} // namespace
} // namespace vesko
