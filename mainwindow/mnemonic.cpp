#include "mainwindow/mnemonic.h"

namespace vesko {

std::string gtk_mnemonic(std::string_view caption)
{
    std::string out;
    out.reserve(caption.size() + 4);
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const char c = caption[i];
        if (c == '_') {
            out += "__";
        } else if (c == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                out += '&';
                ++i;
            } else if (i + 1 < caption.size() && caption[i + 1] != '_') {
                // GTK cannot underline "_" itself: an "&" before one is dropped.
                out += '_';
            }
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace vesko
