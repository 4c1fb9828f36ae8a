// A long run of navigations: three hundred pages typed one after another,
// then Back and Forward across the history. Every navigation the window
// announced ends with "就绪", and Back and Forward, on the toolbar and in the
// menu, are enabled exactly when the history has somewhere to go.

#include "tests/reliability/reliability_window.h"

#include <optional>

namespace vesko::test {
namespace {

// The navigations that no complete of the same address followed before the
// next navigation (or the end).
std::vector<std::string> unanswered_navigations(const std::vector<std::string>& events)
{
    std::vector<std::string> unanswered;
    std::optional<std::string> open;
    for (const std::string& e : events) {
        if (e.starts_with("navigate ")) {
            if (open)
                unanswered.push_back(*open);
            open = e.substr(9);
        } else if (e.starts_with("complete ") && open && *open == e.substr(9)) {
            open.reset();
        }
    }
    if (open)
        unanswered.push_back(*open);
    return unanswered;
}

class NavigationRunTest : public WindowOnEngine {
protected:
    std::string title_of(int page) { return "第 " + std::to_string(page) + " 页"; }
    std::string address_of(int page) { return server.url("/p" + std::to_string(page)); }

    // What the toolbar and the menu offer, and what the history holds.
    struct Offer {
        bool back_button, back_item, forward_button, forward_item;
    };
    Offer offer()
    {
        Toolbar& bar = window->toolbar();
        MainMenu& menu = window->menu();
        return {bar.button_widget(description::back_button)->is_sensitive(),
                !menu.disabled(MainMenu::find(description::back_item)),
                bar.button_widget(description::forward_button)->is_sensitive(),
                !menu.disabled(MainMenu::find(description::forward_item))};
    }
    // Toolbar and menu agree with the engine's history.
    ::testing::AssertionResult offer_matches_history()
    {
        const probe::HistoryLengths h = probe::history_lengths(pane());
        const Offer o = offer();
        const bool back = h.back > 0;
        const bool forward = h.forward > 0;
        if (o.back_button == back && o.back_item == back && o.forward_button == forward && o.forward_item == forward)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "history " << h.back << " back, " << h.forward << " forward; toolbar " << o.back_button << "/"
               << o.forward_button << ", menu " << o.back_item << "/" << o.forward_item;
    }
};

TEST_F(NavigationRunTest, ThreeHundredPagesThenBackAndForwardAcrossTheHistory)
{
    constexpr int pages = 300;
    for (int i = 0; i < pages; ++i)
        server.add_page("/p" + std::to_string(i), "<title>" + title_of(i) + "</title><p>" + std::to_string(i) + "</p>");

    for (int i = 0; i < pages; ++i) {
        ASSERT_TRUE(enter_and_settle(address_of(i))) << "page " << i;
        ASSERT_TRUE(wait_for_caption(title_of(i))) << caption();
    }
    ASSERT_TRUE(wait_until([&] { return static_cast<bool>(offer_matches_history()); }));
    EXPECT_GT(probe::history_lengths(pane()).back, 0u);
    EXPECT_EQ(server.requests().size(), static_cast<std::size_t>(pages));

    // Back with the toolbar, as far as the history goes.
    int page = pages - 1;
    while (probe::history_lengths(pane()).back > 0 && page > 0) {
        const int before = completed;
        press_button(*window->toolbar().picture_part(description::back_button));
        --page;
        ASSERT_TRUE(settled_after(before)) << "back to page " << page;
        ASSERT_TRUE(wait_for_caption(title_of(page))) << caption();
        ASSERT_EQ(window->address_box().get_text(), address_of(page));
        ASSERT_TRUE(wait_until([&] { return static_cast<bool>(offer_matches_history()); })) << offer_matches_history();
    }
    EXPECT_FALSE(offer().back_button);
    EXPECT_TRUE(offer().forward_item);

    // Forward with the menu, to the last page.
    while (probe::history_lengths(pane()).forward > 0) {
        const int before = completed;
        window->menu().item(MainMenu::find(description::forward_item))->activate();
        ++page;
        ASSERT_TRUE(settled_after(before)) << "forward to page " << page;
        ASSERT_TRUE(wait_for_caption(title_of(page))) << caption();
        ASSERT_TRUE(wait_until([&] { return static_cast<bool>(offer_matches_history()); })) << offer_matches_history();
    }
    EXPECT_EQ(page, pages - 1);
    EXPECT_TRUE(offer().back_button);
    EXPECT_FALSE(offer().forward_button);

    EXPECT_EQ(unanswered_navigations(events), std::vector<std::string>{});
    EXPECT_EQ(message(), "就绪");
}

} // namespace
} // namespace vesko::test
