#include "browser/display_text.h"

#include <glib.h>

namespace vesko {

std::string displayable_text(const std::string& text, std::size_t max_chars)
{
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    std::string out(valid);
    g_free(valid);
    if (static_cast<std::size_t>(g_utf8_strlen(out.c_str(), -1)) > max_chars) {
        const char* end = g_utf8_offset_to_pointer(out.c_str(), static_cast<glong>(max_chars));
        out.resize(static_cast<std::size_t>(end - out.c_str()));
        out += "…";
    }
    return out;
}

} // namespace vesko
