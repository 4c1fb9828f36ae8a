#include "browser/address_reading.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace vesko {
namespace {

using Kind = TypedAddress::Kind;
using Reason = TypedAddress::RefuseReason;

const std::string prefix = "https://www.baidu.com/s?wd=";

struct ReadingCase {
    std::string typed;
    TypedAddress expected;
};

ReadingCase nothing(std::string typed) { return {std::move(typed), {}}; }
ReadingCase loads(std::string typed, std::string address) { return {std::move(typed), {Kind::Load, std::move(address)}}; }
ReadingCase searches(std::string typed, std::string encoded) { return loads(std::move(typed), prefix + encoded); }
ReadingCase refuses(std::string typed, std::string address, Reason reason)
{
    return {std::move(typed), {Kind::Refuse, std::move(address), reason}};
}

class TypedAddressTest : public testing::TestWithParam<ReadingCase> {};

TEST_P(TypedAddressTest, TextIsReadAsAddressRefusalOrSearch)
{
    const ReadingCase& c = GetParam();
    const TypedAddress read = read_typed_address(c.typed, prefix);
    EXPECT_EQ(read.kind, c.expected.kind) << c.typed;
    EXPECT_EQ(read.address, c.expected.address) << c.typed;
    EXPECT_EQ(read.reason, c.expected.reason) << c.typed;
}

const std::string u3000 = "\xE3\x80\x80";
const std::string long_label(300, 'a');

INSTANTIATE_TEST_SUITE_P(
    Table, TypedAddressTest,
    testing::Values(
        // Blank text does nothing, whatever spaces it is made of.
        nothing(""), nothing(" \t\r\n "), nothing(u3000 + u3000 + " " + u3000),
        loads("  example.com" + u3000 + " \t", "http://example.com"),
        loads(u3000 + " http://example.com/ \r\n", "http://example.com/"),
        // Tabs and line breaks inside are dropped, as the engine's parser would.
        loads("exam\r\nple.com", "http://example.com"),
        refuses("java\tscript:alert(1)", "javascript:alert(1)", Reason::Script),
        searches("wrapped\nwords here", "wrappedwords%20here"),
        // Other control characters make the text words, encoded harmless.
        searches(std::string("a\0b.com", 7), "a%00b.com"), searches("\x1B[31mred", "%1B%5B31mred"),
        searches("example.com\x7F", "example.com%7F"),
        searches(std::string("javascript:\0alert(1)", 20), "javascript%3A%00alert%281%29"),
        // Schemes the engine shows load as typed.
        loads("http://example.com", "http://example.com"),
        loads("HTTPS://Example.com/a?b=1#c", "HTTPS://Example.com/a?b=1#c"),
        loads("http://user@[::1]:8080/", "http://user@[::1]:8080/"), loads("about:blank", "about:blank"),
        loads("ABOUT:blank", "ABOUT:blank"), loads("file:///tmp/x", "file:///tmp/x"),
        loads("data:text/html,<p>你好 世界</p>", "data:text/html,<p>你好 世界</p>"),
        // ... but http and https need a host.
        refuses("http://", "http://", Reason::Malformed), refuses("http:///x", "http:///x", Reason::Malformed),
        refuses("https:example.com", "https:example.com", Reason::Malformed),
        refuses("http://:8080/", "http://:8080/", Reason::Malformed),
        refuses("http://[]/", "http://[]/", Reason::Malformed),
        refuses("http://exa mple.com/", "http://exa mple.com/", Reason::Malformed),
        refuses("http:8080", "http:8080", Reason::Malformed),
        // Typed scripts are refused in any case, with spaces or a port-like tail.
        refuses("javascript:alert(1)", "javascript:alert(1)", Reason::Script),
        refuses("  JAVASCRIPT:alert(1)  ", "JAVASCRIPT:alert(1)", Reason::Script),
        refuses("JavaScript:void 0", "JavaScript:void 0", Reason::Script),
        refuses("javascript:1", "javascript:1", Reason::Script),
        // Other schemes are refused, unless they are a host with a port or words.
        refuses("mailto:someone@example.com", "mailto:someone@example.com", Reason::UnsupportedScheme),
        refuses("ftp://ftp.example.com/pub", "ftp://ftp.example.com/pub", Reason::UnsupportedScheme),
        refuses("view-source:http://example.com", "view-source:http://example.com", Reason::UnsupportedScheme),
        refuses("unknown-scheme:x", "unknown-scheme:x", Reason::UnsupportedScheme),
        refuses("web+app.v2:thing", "web+app.v2:thing", Reason::UnsupportedScheme),
        searches("Re: 会议", "Re%3A%20%E4%BC%9A%E8%AE%AE"),
        // Hosts, with or without port and path, load over http.
        loads("example.com", "http://example.com"),
        loads("www.example.com/path?q=1", "http://www.example.com/path?q=1"),
        loads("example.com:8080/x", "http://example.com:8080/x"), loads("127.0.0.1:8080", "http://127.0.0.1:8080"),
        loads("192.168.0.1", "http://192.168.0.1"), loads("localhost", "http://localhost"),
        loads("LocalHost:3000", "http://LocalHost:3000"), loads("localhost:3000/x", "http://localhost:3000/x"),
        loads("localhost:65535?q", "http://localhost:65535?q"), loads("[::1]:8080", "http://[::1]:8080"),
        loads("[::1]", "http://[::1]"), loads("[2001:db8::1]/x", "http://[2001:db8::1]/x"),
        loads("中文.example", "http://中文.example"), loads("example.com.", "http://example.com."),
        loads(long_label + ".com", "http://" + long_label + ".com"),
        // Almost hosts are words.
        searches("example.", "example."), searches(".com", ".com"), searches("localhost:0", "localhost%3A0"),
        searches("localhost:65536", "localhost%3A65536"), searches("localhost:", "localhost%3A"),
        searches("[::1]:x", "%5B%3A%3A1%5D%3Ax"), searches("[::1]x", "%5B%3A%3A1%5Dx"),
        searches("someone@example.com", "someone%40example.com"), searches("1+1=2.5", "1%2B1%3D2.5"),
        searches("example.com/a b", "example.com%2Fa%20b"), searches("mailto:", "mailto%3A"),
        // Words.
        searches("hello", "hello"), searches("你好", "%E4%BD%A0%E5%A5%BD"),
        searches("天气 预报", "%E5%A4%A9%E6%B0%94%20%E9%A2%84%E6%8A%A5"),
        searches("天气" + u3000 + "预报", "%E5%A4%A9%E6%B0%94%E3%80%80%E9%A2%84%E6%8A%A5"),
        searches("what is 1.5 kg?", "what%20is%201.5%20kg%3F"), searches("C++ & 100%", "C%2B%2B%20%26%20100%25")));

TEST(TypedAddress, BytesThatAreNotUtf8AreOnlyEverSearchedFor)
{
    const struct {
        std::string typed;
        std::string encoded;
    } cases[] = {
        {"\xFF\xFE", "%FF%FE"},
        {"example\xC0.com", "example%C0.com"},
        {"http://example.com/\xFF", "http%3A%2F%2Fexample.com%2F%FF"},
        {"javascript:\x80", "javascript%3A%80"},
        {"\xE4\xBD", "%E4%BD"},             // cut short
        {"\xC0\xAF.com", "%C0%AF.com"},     // overlong '/'
        {"\xED\xA0\x80.cn", "%ED%A0%80.cn"}, // a surrogate
    };
    for (const auto& c : cases) {
        const TypedAddress read = read_typed_address(c.typed, prefix);
        EXPECT_EQ(read.kind, Kind::Load) << c.encoded;
        EXPECT_EQ(read.address, prefix + c.encoded);
    }
}

TEST(TypedAddress, AMegabyteOfTextIsReadWhole)
{
    constexpr std::size_t megabyte = 1 << 20;
    const std::string word(megabyte, 'x');
    EXPECT_EQ(read_typed_address(word, prefix), (TypedAddress{Kind::Load, prefix + word}));

    std::string words;
    while (words.size() < megabyte)
        words += "天气 ";
    const TypedAddress searched = read_typed_address(words, prefix);
    EXPECT_EQ(searched.kind, Kind::Load);
    EXPECT_TRUE(searched.address.starts_with(prefix + "%E5%A4%A9%E6%B0%94%20"));
    EXPECT_TRUE(searched.address.ends_with("%E5%A4%A9%E6%B0%94")); // the last space trimmed

    std::string host;
    while (host.size() < megabyte)
        host += "a.";
    host += "cn";
    EXPECT_EQ(read_typed_address(host, prefix), (TypedAddress{Kind::Load, "http://" + host}));

    // Shapes that a careless reading would walk again and again.
    EXPECT_EQ(read_typed_address(std::string(megabyte, ':'), prefix).kind, Kind::Load);
    EXPECT_EQ(read_typed_address(std::string(megabyte, '['), prefix).kind, Kind::Load);
    EXPECT_EQ(read_typed_address("localhost:" + std::string(megabyte, '0') + "80", prefix),
              (TypedAddress{Kind::Load, "http://localhost:" + std::string(megabyte, '0') + "80"}));
    std::string blank;
    while (blank.size() < megabyte)
        blank += u3000 + " ";
    EXPECT_EQ(read_typed_address(blank, prefix).kind, Kind::Nothing);
}

TEST(UrlEncodeQueryValue, KeepsOnlyUnreservedBytes)
{
    const std::string unreserved = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~";
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string encoded = url_encode_query_value(byte);
        if (unreserved.find(byte) != std::string::npos) {
            EXPECT_EQ(encoded, byte);
        } else {
            char expected[4];
            std::snprintf(expected, sizeof expected, "%%%02X", static_cast<unsigned>(b));
            EXPECT_EQ(encoded, expected) << b;
        }
    }
}

} // namespace
} // namespace vesko
