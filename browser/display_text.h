#pragma once

#include <cstddef>
#include <string>

namespace vesko {

// Text that any GTK widget can show: invalid UTF-8 is replaced and the text is
// cut at `max_chars` characters (with an ellipsis), since a page may hand over
// anything.
std::string displayable_text(const std::string& text, std::size_t max_chars);

// A page title as a window caption. The caption is one line in the title bar;
// a title longer than this limit cannot be seen there and only burdens the
// window manager.
inline constexpr std::size_t max_caption_chars = 2048;
inline std::string displayable_caption(const std::string& title) { return displayable_text(title, max_caption_chars); }

} // namespace vesko
