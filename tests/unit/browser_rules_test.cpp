#include "browser/error_page.h"
#include "browser/progress.h"
#include "browser/render_policy.h"
#include "browser/zoom.h"

#include <gtest/gtest.h>

namespace vesko {
namespace {

TEST(ProgressPercent, RoundsHalvesAwayFromZeroAndDoesNotClamp)
{
    EXPECT_EQ(progress_percent(0.0), 0);
    EXPECT_EQ(progress_percent(0.424), 42);
    EXPECT_EQ(progress_percent(0.425), 43);
    EXPECT_EQ(progress_percent(0.005), 1);
    EXPECT_EQ(progress_percent(-0.005), -1);
    EXPECT_EQ(progress_percent(1.0), 100);
    EXPECT_EQ(progress_percent(2.5), 250);
}

TEST(RenderPolicy, OnlyARenderNodeThatCanDrawCountsAsAGpu)
{
    struct Case {
        std::vector<RenderNode> nodes;
        bool gpu;
    };
    const Case cases[] = {
        {{}, false},
        {{{"i915", true, false}}, true},
        {{{"i915", false, false}}, false},  // there, but not ours to open
        {{{"", true, false}}, false},       // no driver bound
        {{{"vgem", true, false}}, false},
        {{{"vkms", true, false}}, false},
        {{{"virtio_gpu", true, false}}, false},  // host without 3D
        {{{"virtio_gpu", true, true}}, true},
        {{{"vgem", true, false}, {"amdgpu", true, false}}, true},
        {{{"nouveau", false, false}, {"vgem", true, false}}, false},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const RenderNode& n : c.nodes)
            shown += n.driver + (n.usable ? "+" : "-") + (n.virtio_3d ? "3d " : " ");
        EXPECT_EQ(has_drawing_gpu(c.nodes), c.gpu) << shown;
    }
}

TEST(TextZoom, LevelsAreClampedAndGrow)
{
    EXPECT_EQ(clamp_text_size_level(-3), 0);
    EXPECT_EQ(clamp_text_size_level(9), 4);
    EXPECT_DOUBLE_EQ(text_zoom_factor(2), 1.0);
    for (int level = 1; level <= 4; ++level)
        EXPECT_GT(text_zoom_factor(level), text_zoom_factor(level - 1));
}

TEST(ErrorPage, NamesTheAddressWithoutLettingItIntoTheMarkup)
{
    const std::string hostile = "http://x.test/\"><script>alert(1)</script>&'";
    const std::string html = error_page_html(LoadFailure::HostNotFound, hostile, "<b>detail</b>");
    EXPECT_EQ(html.find("<script>"), std::string::npos);
    EXPECT_EQ(html.find("<b>"), std::string::npos);
    EXPECT_NE(html.find("http://x.test/&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;&amp;&#39;"), std::string::npos);
    EXPECT_NE(html.find("找不到该服务器"), std::string::npos);
    // The page may run nothing, whatever the address's origin allows.
    EXPECT_NE(html.find("default-src 'none'"), std::string::npos);
}

TEST(ErrorPage, EachFailureSaysWhatFailed)
{
    struct Case {
        LoadFailure failure;
        const char* words;
    } cases[] = {
        {LoadFailure::ConnectionRefused, "拒绝了连接"}, {LoadFailure::TimedOut, "响应时间过长"},
        {LoadFailure::Certificate, "证书"},           {LoadFailure::UnsupportedScheme, "不能显示这种地址"},
        {LoadFailure::Offline, "脱机"},               {LoadFailure::ProcessGone, "意外终止"},
    };
    for (const Case& c : cases) {
        const std::string html = error_page_html(c.failure, "http://127.0.0.1:1/", "");
        EXPECT_NE(html.find(c.words), std::string::npos) << c.words;
        EXPECT_NE(html.find("http://127.0.0.1:1/"), std::string::npos);
    }
}

TEST(ErrorPage, AVeryLongAddressIsShortenedOnThePage)
{
    const std::string address = "http://a.test/" + std::string(1'000'000, 'x');
    const std::string html = error_page_html(LoadFailure::Other, address, "");
    EXPECT_LT(html.size(), 10'000u);
}

} // namespace
} // namespace vesko
