#pragma once

namespace quarmel {

// Whether candidate value c improves on current value u. Values keep their sign whatever the
// direction; the direction is in the comparison. Both tests are strict for ordinary numbers;
// they differ on not-a-number: under maximisation a NaN candidate counts as an improvement,
// under minimisation it never does.
inline bool Improves(float u, float c, bool maximize) {
    return maximize ? !(u >= c) : u > c;
}

}  // namespace quarmel
