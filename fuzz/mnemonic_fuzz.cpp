// Feeds arbitrary captions to the "&" → "_" mnemonic conversion and reads the
// result the way GTK reads a label with underline: the person must see the
// caption's text, with the caption's mnemonic letters underlined, and nothing
// else.

#include "mainwindow/mnemonic.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Reading {
    std::string text;                 // what is shown
    std::vector<std::size_t> marked;  // byte offsets in `text` of the underlined characters
    bool dangling = false;            // ended in a lone escape character
};

// GTK ("__" shows "_", "_x" underlines x, a last "_" is dropped) and the
// window description ("&&" shows "&", "&x" underlines x, a last "&" is
// dropped) read marks the same way, each with its own escape character.
Reading read_marks(std::string_view s, char escape)
{
    Reading r;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != escape) {
            r.text += s[i];
        } else if (i + 1 == s.size()) {
            r.dangling = true;
        } else if (s[i + 1] == escape) {
            r.text += escape;
            ++i;
        } else {
            r.marked.push_back(r.text.size());
        }
    }
    return r;
}

[[noreturn]] void fail(const char* what, std::string_view caption, std::string_view gtk)
{
    std::fprintf(stderr, "gtk_mnemonic: %s\n  caption: %.*s\n  result:  %.*s\n", what,
                 static_cast<int>(caption.size()), caption.data(), static_cast<int>(gtk.size()), gtk.data());
    std::abort();
}

void check(std::string_view caption)
{
    const std::string gtk = vesko::gtk_mnemonic(caption);
    if (gtk.size() > 2 * caption.size())
        fail("result longer than doubling every underscore explains", caption, gtk);

    const Reading meant = read_marks(caption, '&');
    const Reading shown = read_marks(gtk, '_');
    if (shown.text != meant.text)
        fail("GTK would show another text", caption, gtk);
    if (shown.dangling)
        fail("result ends in a lone underscore", caption, gtk);

    // GTK has no way to underline "_" itself ("__" is its literal underscore),
    // so a mark on one can only be dropped; every other mark must be kept,
    // and none added.
    std::vector<std::size_t> expected;
    for (std::size_t at : meant.marked)
        if (meant.text[at] != '_')
            expected.push_back(at);
    if (shown.marked != expected)
        fail("GTK would underline other characters than the caption marks", caption, gtk);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    check(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
