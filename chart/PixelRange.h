#pragma once

#include <algorithm>

#include "chart/PixelCanvas.h"

namespace quarmel {

// The first and last integer i with i + 0.5 in [from, to), clamped to [0, size - 1]; the
// bounds are clamped as doubles first, so positions far off the viewport cost nothing.
inline void PixelRange(double from, double to, int size, int& first, int& last) {
    from = std::clamp(from, -2.0, size + 2.0);
    to = std::clamp(to, -2.0, size + 2.0);
    first = std::max(0, static_cast<int>(-FloorOf(0.5 - from)));
    last = std::min(size - 1, static_cast<int>(-FloorOf(0.5 - to)) - 1);
}

}  // namespace quarmel
