#pragma once

#include <cmath>

namespace quarmel {

// Whether candidate value c improves on current value u. Values keep their sign whatever the
// direction; the direction is in the comparison, strict for ordinary numbers (an equal value
// never improves). A not-a-number candidate never improves on anything and any number improves
// on a not-a-number current value, in both directions, so a search leaves a region where the
// formula is undefined and never wanders into one.
inline bool Improves(float u, float c, bool maximize) {
    if (std::isnan(c)) return false;
    if (std::isnan(u)) return true;
    return maximize ? c > u : c < u;
}

}  // namespace quarmel
