#include "browser/address_reading.h"

#include <algorithm>
#include <optional>

namespace vesko {

namespace {

using Kind = TypedAddress::Kind;
using Reason = TypedAddress::RefuseReason;

// Chinese input methods type this space in full-width mode; it is as blank as
// an ASCII one to the person typing.
constexpr std::string_view ideographic_space = "\xE3\x80\x80";

bool is_ascii_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool is_alpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_hex_digit(char c) { return is_digit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
bool is_scheme_char(char c) { return is_alpha(c) || is_digit(c) || c == '+' || c == '-' || c == '.'; }
bool is_control(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }
char to_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Letters, digits, '-' and '_' in ASCII, and any UTF-8 byte so that a Chinese
// host name reaches the engine, which turns it into its IDNA form. Anything
// else ("someone@example.com", "1+1=2.5") is far more likely words than a host.
bool is_host_name_char(char c)
{
    return is_alpha(c) || is_digit(c) || c == '-' || c == '_' || c == '.' || static_cast<unsigned char>(c) >= 0x80;
}

bool contains_white_space(std::string_view text)
{
    return text.find(' ') != std::string_view::npos || text.find(ideographic_space) != std::string_view::npos;
}

std::string_view trim(std::string_view text)
{
    for (;;) {
        if (!text.empty() && is_ascii_space(text.front()))
            text.remove_prefix(1);
        else if (text.starts_with(ideographic_space))
            text.remove_prefix(ideographic_space.size());
        else
            break;
    }
    for (;;) {
        if (!text.empty() && is_ascii_space(text.back()))
            text.remove_suffix(1);
        else if (text.ends_with(ideographic_space))
            text.remove_suffix(ideographic_space.size());
        else
            break;
    }
    return text;
}

// The engine's URL parser drops tabs and line breaks wherever they stand, so
// "java\nscript:..." would reach it as a script. Dropping them before anything
// is judged means the reading sees what the engine would see; an address that
// was wrapped over lines when it was copied is joined again as a bonus.
std::string drop_tabs_and_line_breaks(std::string_view text)
{
    std::string kept;
    kept.reserve(text.size());
    for (char c : text)
        if (c != '\t' && c != '\n' && c != '\r')
            kept += c;
    return kept;
}

// RFC 3629: no overlong forms, no surrogates, nothing past U+10FFFF.
bool is_valid_utf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (text.size() - i < length)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF))
                return false;
        }
        i += length;
    }
    return true;
}

// The lower-cased scheme of "scheme:rest" (RFC 3986), or empty when the text
// does not start with one.
std::string scheme_of(std::string_view text)
{
    if (text.empty() || !is_alpha(text.front()))
        return {};
    const auto end = std::find_if_not(text.begin(), text.end(), is_scheme_char);
    if (end == text.end() || *end != ':')
        return {};
    std::string scheme(text.begin(), end);
    std::transform(scheme.begin(), scheme.end(), scheme.begin(), to_lower);
    return scheme;
}

// What follows "localhost:" in "localhost:3000/x": digits, then nothing or a
// path, query or fragment. Nothing at all counts too, so "localhost:" is read
// as a host with a port that is missing rather than as a scheme.
bool is_port_then_path(std::string_view rest)
{
    const auto digits_end = std::find_if_not(rest.begin(), rest.end(), is_digit);
    if (digits_end == rest.end())
        return true;
    return digits_end != rest.begin() && (*digits_end == '/' || *digits_end == '?' || *digits_end == '#');
}

bool is_valid_port(std::string_view digits)
{
    if (digits.empty())
        return false;
    long value = 0;
    for (char c : digits) {
        if (!is_digit(c))
            return false;
        value = std::min(value * 10 + (c - '0'), 65536L); // saturates, so a long run cannot overflow
    }
    return value >= 1 && value <= 65535;
}

// Some dot with a label character on each side: "example.com" or
// "example.com." but not "example.", ".com" or "a..b".
bool has_inner_dot(std::string_view host)
{
    for (std::size_t i = 1; i + 1 < host.size(); ++i)
        if (host[i] == '.' && host[i - 1] != '.' && host[i + 1] != '.')
            return true;
    return false;
}

bool is_localhost(std::string_view host)
{
    constexpr std::string_view localhost = "localhost";
    return host.size() == localhost.size() &&
           std::equal(host.begin(), host.end(), localhost.begin(), [](char a, char b) { return to_lower(a) == b; });
}

// Only the look of one: the engine says so if the numbers make no address.
bool is_ipv6_literal(std::string_view inside)
{
    return inside.find(':') != std::string_view::npos &&
           std::all_of(inside.begin(), inside.end(), [](char c) { return is_hex_digit(c) || c == ':' || c == '.'; });
}

// Text without a scheme and without white space: does it start with a host
// name, an IPv6 literal in brackets or localhost, and at most a valid port?
// Length is not judged: a host over 253 characters or with a label over 63
// is still loaded, and the engine fails it with its own error page.
bool names_a_host(std::string_view text)
{
    const std::string_view authority = text.substr(0, text.find_first_of("/?#"));
    if (authority.starts_with('[')) {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos || !is_ipv6_literal(authority.substr(1, close - 1)))
            return false;
        const std::string_view after = authority.substr(close + 1);
        return after.empty() || (after.front() == ':' && is_valid_port(after.substr(1)));
    }
    const std::size_t colon = authority.find(':');
    if (colon != std::string_view::npos && !is_valid_port(authority.substr(colon + 1)))
        return false;
    const std::string_view host = authority.substr(0, colon);
    if (!std::all_of(host.begin(), host.end(), is_host_name_char))
        return false;
    return is_localhost(host) || has_inner_dot(host);
}

// After "http:" or "https:": "//" and a host, maybe with user and port. The
// engine could only fail on anything less, and less clearly than we can.
bool has_authority_with_host(std::string_view rest)
{
    if (!rest.starts_with("//"))
        return false;
    rest.remove_prefix(2);
    std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos)
        authority.remove_prefix(at + 1);
    if (authority.starts_with('[')) {
        const std::size_t close = authority.find(']');
        return close != std::string_view::npos && close > 1;
    }
    const std::string_view host = authority.substr(0, authority.find(':'));
    return !host.empty() && !contains_white_space(host);
}

TypedAddress load(std::string address) { return {Kind::Load, std::move(address), Reason::None}; }
TypedAddress refuse(std::string address, Reason reason) { return {Kind::Refuse, std::move(address), reason}; }

// Text that starts with "scheme:"; nothing when the scheme turns out to be a
// host with a port, or the text words.
std::optional<TypedAddress> read_with_scheme(const std::string& text, std::string_view scheme)
{
    const std::string_view rest = std::string_view(text).substr(scheme.size() + 1);
    // A page can talk its reader into pasting a script here, where it would
    // run with that page's rights: typed scripts are never run, spaces or not.
    if (scheme == "javascript")
        return refuse(text, Reason::Script);
    if (scheme == "http" || scheme == "https")
        return has_authority_with_host(rest) ? load(text) : refuse(text, Reason::Malformed);
    if (scheme == "file" || scheme == "data" || scheme == "about")
        return load(text);
    // "localhost:3000" and "example.com:8080/x" spell a valid scheme too.
    if (is_port_then_path(rest))
        return std::nullopt;
    // "Re: 会议" is somebody's words, not an address in a scheme we lack.
    if (contains_white_space(rest))
        return std::nullopt;
    return refuse(text, Reason::UnsupportedScheme);
}

} // namespace

std::string url_encode_query_value(std::string_view text)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size() * 3);
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (is_alpha(c) || is_digit(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            encoded += c;
        } else {
            encoded += '%';
            encoded += hex[byte >> 4];
            encoded += hex[byte & 0xF];
        }
    }
    return encoded;
}

TypedAddress read_typed_address(std::string_view text, std::string_view search_query_prefix)
{
    const std::string_view trimmed = trim(text);
    if (trimmed.empty())
        return {};
    const std::string read = drop_tabs_and_line_breaks(trimmed);
    // Any control character left (NUL, ESC, DEL...) has no place in an address
    // and could mean something else to the engine's parser; neither could
    // bytes that are not UTF-8. Such text is searched for: percent-encoded in
    // a query value it is harmless and still reaches the engine whole.
    const bool only_words = std::any_of(read.begin(), read.end(), is_control) || !is_valid_utf8(read);
    if (!only_words) {
        if (const std::string scheme = scheme_of(read); !scheme.empty())
            if (std::optional<TypedAddress> with_scheme = read_with_scheme(read, scheme))
                return *std::move(with_scheme);
        if (!contains_white_space(read) && names_a_host(read))
            return load("http://" + read);
    }
    std::string search(search_query_prefix);
    search += url_encode_query_value(read);
    return load(std::move(search));
}

} // namespace vesko
