#include "mainwindow/mnemonic.h"

#include <gtest/gtest.h>

namespace vesko {
namespace {

TEST(GtkMnemonic, TurnsAmpersandsIntoUnderscoresAndKeepsLiteralUnderscores)
{
    const std::pair<const char*, const char*> cases[] = {
        {"&F.文件", "_F.文件"},
        {"确认输入(&O)", "确认输入(_O)"},
        {"-", "-"},
        {"a_b", "a__b"},
        {"&_x", "__x"},
        {"&_", "__"},
        {"&_&x", "___x"},
        {"R&&D", "R&D"},
        {"end&", "end"},
        {"", ""},
        {"&&&A", "&_A"},
    };
    for (const auto& [caption, expected] : cases)
        EXPECT_EQ(gtk_mnemonic(caption), expected) << caption;
}

} // namespace
} // namespace vesko
