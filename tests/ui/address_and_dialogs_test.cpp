// Enter in the Address box, the Open in new window command with the Input
// dialog, and the About box.

#include "mainwindow/dialogs.h"
#include "tests/support/window_fixture.h"

#include <gdk/gdkkeysyms.h>
#include <gtkmm/messagedialog.h>

namespace vesko {
namespace {

using AddressEntryTest = test::WindowTest;

TEST_F(AddressEntryTest, EnterWritesExactlyWhatTheBoxHolds)
{
    build_and_start();
    for (const std::string text : {"", "  127.0.0.1:8080/x  ", "天气 预报", "javascript:alert(1)"}) {
        window->address_box().set_text(text);
        fake->log.clear();
        test::send_key(*window, GDK_KEY_Return);
        EXPECT_EQ(fake->log, std::vector<std::string>{"set_url [" + text + "]"}) << text;
        EXPECT_TRUE(window->address_box().has_focus());
        EXPECT_EQ(window->address_box().get_text(), text);
    }
    fake->log.clear();
    test::send_key(*window, GDK_KEY_KP_Enter);
    EXPECT_EQ(fake->log.size(), 1u);
}

TEST_F(AddressEntryTest, OtherCharactersOnlyEdit)
{
    build_and_start();
    window->address_box().set_text("");
    for (guint key : {GDK_KEY_a, GDK_KEY_1, GDK_KEY_b})
        test::send_key(*window, key);
    EXPECT_TRUE(fake->log.empty());
    EXPECT_EQ(window->address_box().get_text(), "a1b");
    // The handler itself ignores every code but 13.
    for (int code : {0, 10, 12, 14, -13, 97})
        window->on_address_box_char(code);
    EXPECT_TRUE(fake->log.empty());
}

TEST_F(AddressEntryTest, OpenInNewWindowNavigatesTheAnswerInTargetAbc)
{
    build_and_start();
    dialogs->answers = {std::string("http://127.0.0.1/a"), std::string(""), std::nullopt,
                        std::string("http://127.0.0.1/b")};
    for (int i = 0; i < 4; ++i)
        window->open_in_new_window_command();
    EXPECT_EQ(fake->log, (std::vector<std::string>{"navigate_in_target [http://127.0.0.1/a] [abc]",
                                                   "navigate_in_target [] [abc]",
                                                   "navigate_in_target [http://127.0.0.1/b] [abc]"}));
    EXPECT_TRUE(dialogs->owner_was_main_window);
    window->about_command();
    EXPECT_EQ(dialogs->abouts, 1);
}

class InputDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        owner.set_default_size(649, 447);
        ASSERT_TRUE(test::show_and_wait(owner));
        dialog = std::make_unique<InputDialog>(owner);
        dialog->signal_response().connect([this](int r) { response = r; });
        ASSERT_TRUE(test::show_and_wait(*dialog));
    }

    // A button activated from the keyboard shows itself pressed for a moment
    // before it clicks, and Esc closes through a queued event.
    bool responded() { return test::wait_until([&] { return response.has_value(); }, std::chrono::seconds(3)); }

    Gtk::Window owner;
    std::unique_ptr<InputDialog> dialog;
    std::optional<int> response;
};

TEST_F(InputDialogTest, IsLaidOutAsDescribed)
{
    EXPECT_EQ(dialog->get_title(), "打开新网页");
    EXPECT_TRUE(dialog->get_modal());
    EXPECT_EQ(dialog->get_transient_for(), &owner);
    EXPECT_FALSE(dialog->get_resizable());
    EXPECT_EQ(dialog->prompt().get_text(), "请输入欲跳转到的地址:");
    EXPECT_EQ(dialog->prompt_frame().get_shadow_type(), Gtk::SHADOW_IN);
    EXPECT_EQ(dialog->confirm_button().get_label(), "确认输入(_O)");
    EXPECT_TRUE(dialog->confirm_button().get_use_underline());
    EXPECT_EQ(dialog->cancel_button().get_label(), "取消(_C)");
    EXPECT_TRUE(dialog->confirm_button().has_default());
    EXPECT_TRUE(dialog->field().is_focus());
    EXPECT_EQ(dialog->field().get_text(), "");

    // Positions follow dialog units of the dialog's font.
    const double ux = dialog->unit_x();
    const double uy = dialog->unit_y();
    ASSERT_GT(ux, 1.0);
    ASSERT_GT(uy, 1.0);
    auto near = [](int px, double units, double unit) { return std::abs(px - units * unit) <= 1.0; };
    Gtk::Allocation field = dialog->field().get_allocation();
    Gtk::Allocation confirm = dialog->confirm_button().get_allocation();
    Gtk::Allocation cancel = dialog->cancel_button().get_allocation();
    EXPECT_TRUE(near(field.get_width(), 238, ux)) << field.get_width();
    EXPECT_TRUE(near(confirm.get_width(), 55, ux)) << confirm.get_width();
    EXPECT_TRUE(near(cancel.get_x() - confirm.get_x(), 134 - 63, ux));
    EXPECT_TRUE(near(confirm.get_y() - field.get_y(), 66 - 45, uy));
    EXPECT_EQ(InputDialog::font_family(), "Noto Serif CJK SC");
}

TEST_F(InputDialogTest, EnterConfirmsWithTheFieldsText)
{
    dialog->field().set_text("http://127.0.0.1:8080/");
    test::send_key(*dialog, GDK_KEY_Return);
    ASSERT_TRUE(responded());
    EXPECT_EQ(*response, Gtk::RESPONSE_OK);
}

TEST_F(InputDialogTest, AltOConfirmsAltCCancels)
{
    test::send_key(*dialog, GDK_KEY_o, GDK_MOD1_MASK);
    ASSERT_TRUE(responded());
    EXPECT_EQ(*response, Gtk::RESPONSE_OK);
    response.reset();
    test::send_key(*dialog, GDK_KEY_c, GDK_MOD1_MASK);
    ASSERT_TRUE(responded());
    EXPECT_EQ(*response, Gtk::RESPONSE_CANCEL);
}

TEST_F(InputDialogTest, EscAndTheButtonsEndItAsTheyShould)
{
    test::send_key(*dialog, GDK_KEY_Escape);
    ASSERT_TRUE(responded());
    EXPECT_NE(*response, Gtk::RESPONSE_OK);
    response.reset();
    dialog->cancel_button().clicked();
    EXPECT_EQ(response.value_or(0), Gtk::RESPONSE_CANCEL);
    response.reset();
    dialog->confirm_button().clicked();
    EXPECT_EQ(response.value_or(0), Gtk::RESPONSE_OK);
}

TEST(AboutBoxTest, HasATitleTwoLinesOneButtonAndNoIcon)
{
    AboutBox box;
    EXPECT_EQ(box.get_title(), "====");
    EXPECT_EQ(box.property_message_type().get_value(), Gtk::MESSAGE_OTHER);
    EXPECT_EQ(box.get_transient_for(), nullptr);
    EXPECT_TRUE(box.get_modal());
    EXPECT_EQ(std::string(box.property_text().get_value()), std::string(description::about_text));
    const std::string text = box.property_text().get_value();
    const std::size_t gap = text.find("\n\n");
    ASSERT_NE(gap, std::string::npos);
    EXPECT_EQ(text.find('\n', gap + 2), std::string::npos); // exactly two lines
    EXPECT_NE(text.find("作者"), std::string::npos);
    EXPECT_NE(text.find("电话"), std::string::npos);

    int buttons = 0;
    box.get_action_area()->foreach([&](Gtk::Widget& w) { buttons += dynamic_cast<Gtk::Button*>(&w) ? 1 : 0; });
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(box.get_image(), nullptr);
}

} // namespace
} // namespace vesko
