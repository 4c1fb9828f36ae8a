// Feeds arbitrary bytes to the reading of typed addresses and checks what the
// engine would be handed: never a script, never a scheme we do not show,
// never a control character, and words always reach the search whole.

#include "browser/address_reading.h"
#include "mainwindow/window_description.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using vesko::TypedAddress;
using Kind = TypedAddress::Kind;
using Reason = TypedAddress::RefuseReason;

constexpr std::string_view prefix = vesko::description::search_query_prefix;
constexpr std::string_view ideographic_space = "\xE3\x80\x80";

[[noreturn]] void fail(const char* what, std::string_view text, const TypedAddress& read)
{
    std::fprintf(stderr, "address reading: %s\n  text: %.*s\n  kind %d, reason %d, address: %.*s\n", what,
                 static_cast<int>(text.size()), text.data(), static_cast<int>(read.kind),
                 static_cast<int>(read.reason), static_cast<int>(read.address.size()), read.address.data());
    std::abort();
}

bool is_blank_byte(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// The text the reading judges: blanks (ASCII and U+3000) cut from both ends,
// then tabs and line breaks dropped wherever they stand, as the engine's URL
// parser would drop them.
std::string judged_text(std::string_view text)
{
    while (!text.empty() && (is_blank_byte(text.front()) || text.starts_with(ideographic_space)))
        text.remove_prefix(is_blank_byte(text.front()) ? 1 : ideographic_space.size());
    while (!text.empty() && (is_blank_byte(text.back()) || text.ends_with(ideographic_space)))
        text.remove_suffix(is_blank_byte(text.back()) ? 1 : ideographic_space.size());
    std::string kept;
    for (char c : text)
        if (c != '\t' && c != '\n' && c != '\r')
            kept += c;
    return kept;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool starts_with_no_case(std::string_view text, std::string_view start)
{
    if (text.size() < start.size())
        return false;
    for (std::size_t i = 0; i < start.size(); ++i)
        if (lower(text[i]) != start[i])
            return false;
    return true;
}

bool has_control(std::string_view text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return true;
    return false;
}

bool has_white_space(std::string_view text)
{
    return text.find(' ') != std::string_view::npos || text.find(ideographic_space) != std::string_view::npos;
}

// Decodes code points one by one and checks each against the ranges UTF-8
// may encode with that many bytes.
bool is_utf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80 ? 1 : lead >> 5 == 0x6 ? 2 : lead >> 4 == 0xE ? 3 : lead >> 3 == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        std::uint32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if (next >> 6 != 0x2)
                return false;
            point = point << 6 | (next & 0x3F);
        }
        constexpr std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (point < least[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

int hex_value(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1; // lowercase hex is not what the encoder writes
}

// A query value as the encoder writes it, decoded; false when it is not one.
bool decode_query_value(std::string_view value, std::string& decoded)
{
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                                c == '-' || c == '.' || c == '_' || c == '~';
        if (unreserved) {
            decoded += c;
        } else if (c == '%' && i + 2 < value.size() && hex_value(value[i + 1]) >= 0 && hex_value(value[i + 2]) >= 0) {
            const int byte = hex_value(value[i + 1]) * 16 + hex_value(value[i + 2]);
            const bool needed = !((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                                  (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
                                  byte == '~');
            if (!needed)
                return false;
            decoded += static_cast<char>(byte);
            i += 2;
        } else {
            return false;
        }
    }
    return true;
}

bool is_search_for(std::string_view address, std::string_view judged)
{
    if (!address.starts_with(prefix))
        return false;
    std::string decoded;
    return decode_query_value(address.substr(prefix.size()), decoded) && decoded == judged;
}

void check(std::string_view text)
{
    const TypedAddress read = vesko::read_typed_address(text, prefix);
    const std::string judged = judged_text(text);

    if (read.address.size() > 3 * text.size() + prefix.size() + 16)
        fail("address longer than the text can explain", text, read);

    switch (read.kind) {
    case Kind::Nothing:
        if (!judged.empty() || !read.address.empty() || read.reason != Reason::None)
            fail("text that is not blank did nothing", text, read);
        return;

    case Kind::Refuse:
        // The error page shows what was typed, as it was judged.
        if (read.address != judged || read.reason == Reason::None)
            fail("refusal of something else than the text", text, read);
        if (has_control(read.address) || !is_utf8(read.address))
            fail("refused address the error page cannot show", text, read);
        if ((read.reason == Reason::Script) != starts_with_no_case(judged, "javascript:"))
            fail("script refusal not matching a javascript: text", text, read);
        if (read.reason == Reason::Malformed && !starts_with_no_case(judged, "http:") &&
            !starts_with_no_case(judged, "https:"))
            fail("malformed refusal of a scheme other than http(s)", text, read);
        return;

    case Kind::Load:
        if (judged.empty())
            fail("blank text loaded", text, read);
        if (has_control(read.address) || !is_utf8(read.address))
            fail("loaded address with a control character or bytes that are not UTF-8", text, read);
        if (starts_with_no_case(read.address, "javascript:"))
            fail("typed script loaded", text, read);
        // Searched for: the words reach the search engine whole.
        if (is_search_for(read.address, judged))
            return;
        // A host without a scheme: loaded over http.
        if (read.address.starts_with("http://") && std::string_view(read.address).substr(7) == judged) {
            if (has_white_space(read.address))
                fail("host read from text with a space", text, read);
            return;
        }
        // As typed: only in a scheme the engine shows.
        if (read.address == judged) {
            for (std::string_view scheme : {"http:", "https:", "file:", "data:", "about:"})
                if (starts_with_no_case(judged, scheme))
                    return;
            fail("loaded as typed in a scheme we do not show", text, read);
        }
        fail("loaded address that is neither a search, a host nor the text", text, read);
    }
    fail("unknown kind", text, read);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    check(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
