#include "mainwindow/resize_rule.h"

#include <gtest/gtest.h>

namespace vesko {
namespace {

// The window's fixed positions: pane top 33, Address box left 439.
constexpr int pane_top = 33;
constexpr int box_left = 439;

struct ResizeCase {
    int client_width;
    int status_bar_top;
    int pane_width;
    int pane_height;
    int box_width;
};

class ResizeRuleTest : public testing::TestWithParam<ResizeCase> {};

TEST_P(ResizeRuleTest, SizesFollowTheClientArea)
{
    const ResizeCase c = GetParam();
    const ResizeResult r = resize_rule(c.client_width, c.status_bar_top, pane_top, box_left);
    EXPECT_EQ(r.pane_width, c.pane_width);
    EXPECT_EQ(r.pane_height, c.pane_height);
    EXPECT_EQ(r.address_box_width, c.box_width);
}

INSTANTIATE_TEST_SUITE_P(Table, ResizeRuleTest,
                         testing::Values(ResizeCase{633, 371, 613, 328, 184}, // the window's usual size
                                         ResizeCase{0, 0, 0, 0, 50},          // nothing left: clamped, box kept at 50
                                         ResizeCase{15, 40, 0, 0, 50},        // 15 - 20 is applied as 0
                                         ResizeCase{498, 100, 478, 57, 50},
                                         ResizeCase{499, 100, 479, 57, 50},
                                         ResizeCase{500, 100, 480, 57, 51},
                                         ResizeCase{-40, -5, 0, 0, 50},       // a toolkit may report anything
                                         ResizeCase{100000, 100000, 32627, 32627, 32627}));

TEST(ClampControlSize, KeepsSizesWithinRange)
{
    EXPECT_EQ(clamp_control_size(-1.0), 0);
    EXPECT_EQ(clamp_control_size(0.0), 0);
    EXPECT_EQ(clamp_control_size(12.9), 12);
    EXPECT_EQ(clamp_control_size(32627.0), 32627);
    EXPECT_EQ(clamp_control_size(32628.0), 32627);
    EXPECT_EQ(clamp_control_size(1e300), 32627);
}

} // namespace
} // namespace vesko
