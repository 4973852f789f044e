#pragma once

#include <algorithm>
#include <vector>

namespace quarmel {

// n distinct markers of a path over the start-up problem: a random walk across the surface,
// each marker at a height scattered about the surface's, as (x, y, value) triples.
inline std::vector<float> WalkingPath(int n) {
    std::vector<float> path;
    float x = -40, y = -30;
    unsigned s = 5;
    auto next = [&s] {
        s = s * 1103515245u + 12345u;
        return static_cast<float>((s >> 8) & 0xFFFF) / 65536.0f - 0.5f;
    };
    for (int i = 0; i < n; ++i) {
        x = std::clamp(x + next() * 6.0f, -50.0f, 50.0f);
        y = std::clamp(y + next() * 5.0f, -40.0f, 40.0f);
        path.insert(path.end(), {x, y, x * x + (y - 2) * (y - 2) + 15 + next() * 300.0f});
    }
    return path;
}

}  // namespace quarmel
