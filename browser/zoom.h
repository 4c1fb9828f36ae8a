#pragma once

#include <algorithm>
#include <array>

namespace vesko {

// Text-only zoom factor of each text size level, smallest to largest.
inline constexpr std::array<double, 5> text_zoom_factors = {0.75, 0.875, 1.0, 1.25, 1.5};

inline int clamp_text_size_level(int level) { return std::clamp(level, 0, static_cast<int>(text_zoom_factors.size()) - 1); }

inline double text_zoom_factor(int level) { return text_zoom_factors[static_cast<std::size_t>(clamp_text_size_level(level))]; }

} // namespace vesko
