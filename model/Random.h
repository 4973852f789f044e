#pragma once

#include <cstddef>
#include <cstdint>

namespace quarmel {

// Per-thread pseudo-random generator. The low 32 bits of the state drive Rand, the whole 64 bits
// drive RandomBelow, so a RandomBelow draw also moves later Rand draws. Each thread has its own
// state; draws on one thread never disturb another's sequence.
void SeedRandom(std::uint32_t seed);

namespace detail {
// The calling thread's generator state; only the functions here touch it. Defined here with a
// constant initial value, so reading it needs no check for a thread's first use.
inline thread_local std::uint64_t randomState = 0;
}  // namespace detail

// A whole number in 0..32767. Inline: the genetic operators draw several times per Solution.
inline int Rand() {
    std::uint32_t s = static_cast<std::uint32_t>(detail::randomState);
    s = s * 22695477u + 1u;
    detail::randomState = (detail::randomState & 0xFFFFFFFF00000000ull) | s;
    return static_cast<int>((s >> 16) & 0x7FFF);
}

// A whole number in 0..n-1; 0 when n is 0 or less. Inline: roulette selection draws once per
// Solution.
inline int RandomBelow(int n) {
    constexpr std::uint64_t kBelowMultiplier = (std::uint64_t{346} << 32) | 20021u;
    detail::randomState = detail::randomState * kBelowMultiplier + 1u;
    if (n <= 0) return 0;
    const auto r = static_cast<std::uint32_t>((detail::randomState >> 32) & 0x7FFFFFFF);
    return static_cast<int>(r % static_cast<std::uint32_t>(n));
}

// A number in [0, span) on the coarsest decimal grid that still gives at least 100 steps.
// Returns 0 for a span that is not a finite number above 0.
float GridDraw(float span);

// A grid draw prepared once for a span that stays the same over many draws: the grid size and
// the number of scalings by 0.1. A grid size of 0 means no draw (the step is 0).
struct GridTable {
    std::uint32_t m = 0;        // at most 32768: Rand never reaches a larger grid's upper part
    std::uint32_t inverse = 0;  // 2^32 / m rounded up: Rand % m by multiplication
    int e = 0;
    // scaled[k] is point k after its e scalings: exactly the values the loop of scalings gives
    // (k itself without scaling). With scalings the grid has at most 1000 points. Null for a
    // grid of size 0.
    const float* scaled = nullptr;
};
GridTable PrepareGrid(float span);

// One draw on each of n prepared grids, in order: the same numbers as n calls of GridDraw.
void GridDrawEach(const GridTable* grids, std::size_t n, float* out);

// Batches of draws keep the low half of the state, all that Rand moves, in a register: take it,
// draw with GridDrawFrom, and put it back before any other draw.
inline std::uint32_t TakeRandState() {
    return static_cast<std::uint32_t>(detail::randomState);
}
inline void PutRandState(std::uint32_t s) {
    detail::randomState = (detail::randomState & 0xFFFFFFFF00000000ull) | s;
}

// One draw on a prepared grid from a taken state; no draw (0) for a grid of size 0.
inline float GridDrawFrom(const GridTable& g, std::uint32_t& s) {
    if (g.m == 0) return 0.0f;
    s = s * 22695477u + 1u;
    const std::uint32_t x = (s >> 16) & 0x7FFF;
    // x % m without a division: exact for a 15-bit x and a grid of 100 to 32768
    // (the remainder by multiplication with 2^32 / m rounded up).
    const std::uint32_t low = g.inverse * x;
    const auto rem = static_cast<std::uint32_t>((std::uint64_t{low} * g.m) >> 32);
    return g.scaled[rem];
}

// The seed the program uses for a run: calendar time in whole seconds.
std::uint32_t ClockSeed();

}  // namespace quarmel
