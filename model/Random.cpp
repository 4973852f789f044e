#include "Random.h"

#include <cmath>
#include <ctime>

namespace quarmel {

namespace {

thread_local std::uint64_t state = 0;

constexpr std::uint64_t kBelowMultiplier = (std::uint64_t{346} << 32) | 20021u;

}  // namespace

void SeedRandom(std::uint32_t seed) {
    state = seed;
    Rand();
}

int Rand() {
    std::uint32_t s = static_cast<std::uint32_t>(state);
    s = s * 22695477u + 1u;
    state = (state & 0xFFFFFFFF00000000ull) | s;
    return static_cast<int>((s >> 16) & 0x7FFF);
}

int RandomBelow(int n) {
    state = state * kBelowMultiplier + 1u;
    if (n <= 0) return 0;
    const auto r = static_cast<std::uint32_t>((state >> 32) & 0x7FFFFFFF);
    return static_cast<int>(r % static_cast<std::uint32_t>(n));
}

float GridDraw(float span) {
    if (!(span > 0.0f) || !std::isfinite(span)) return 0.0f;
    float t = span;
    int e = 0;
    while (!(t >= 100.0f)) {
        t = t * 10.0f;
        ++e;
    }
    // Rand is below 2^15, so any grid size above that leaves the draw unchanged; capping the
    // size keeps the conversion in range for spans up to the largest float.
    const std::uint64_t m = t >= 4294967296.0f ? 4294967296ull : static_cast<std::uint64_t>(t);
    float r = static_cast<float>(static_cast<std::uint64_t>(Rand()) % m);
    for (int i = 0; i < e; ++i) r = static_cast<float>(static_cast<double>(r) * 0.1);
    return r;
}

std::uint32_t ClockSeed() {
    return static_cast<std::uint32_t>(std::time(nullptr));
}

}  // namespace quarmel
