#pragma once

#include <cmath>

namespace vesko {

// Percent loaded from the engine's fraction: halves away from zero, unclamped.
inline int progress_percent(double fraction)
{
    return static_cast<int>(std::lround(fraction * 100.0));
}

} // namespace vesko
