#pragma once

#include <string>
#include <string_view>

namespace vesko {

// What the Browser pane makes of the text the Address box hands over.
struct TypedAddress {
    enum class Kind {
        Nothing, // empty or blank text: nothing visible happens
        Load,    // load `address`
        Refuse,  // show an error page for `address` (the text as read) with `reason`
    };
    enum class RefuseReason { None, Script, UnsupportedScheme, Malformed };
    Kind kind = Kind::Nothing;
    std::string address;
    RefuseReason reason = RefuseReason::None;

    bool operator==(const TypedAddress&) const = default;
};

// Reads typed text as an address to load, an address to refuse, or words to
// search for. Words are appended to `search_query_prefix` (for example
// "https://www.baidu.com/s?wd=") as an encoded query value. Linear in the
// length of the text, whatever bytes it holds.
TypedAddress read_typed_address(std::string_view text, std::string_view search_query_prefix);

// Percent-encodes the bytes of `text` for a query value: A-Z a-z 0-9 - . _ ~
// stay, everything else (space and every non-ASCII byte included) becomes %XX
// with uppercase hex digits.
std::string url_encode_query_value(std::string_view text);

} // namespace vesko
