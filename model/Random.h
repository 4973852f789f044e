#pragma once

#include <cstddef>
#include <cstdint>

namespace quarmel {

// Per-thread pseudo-random generator. The low 32 bits of the state drive Rand, the whole 64 bits
// drive RandomBelow, so a RandomBelow draw also moves later Rand draws. Each thread has its own
// state; draws on one thread never disturb another's sequence.
void SeedRandom(std::uint32_t seed);

namespace detail {
// The calling thread's generator state; only the functions here touch it.
extern thread_local std::uint64_t randomState;
}  // namespace detail

// A whole number in 0..32767. Inline: the genetic operators draw several times per Solution.
inline int Rand() {
    std::uint32_t s = static_cast<std::uint32_t>(detail::randomState);
    s = s * 22695477u + 1u;
    detail::randomState = (detail::randomState & 0xFFFFFFFF00000000ull) | s;
    return static_cast<int>((s >> 16) & 0x7FFF);
}

// A whole number in 0..n-1; 0 when n is 0 or less.
int RandomBelow(int n);

// A number in [0, span) on the coarsest decimal grid that still gives at least 100 steps.
// Returns 0 for a span that is not a finite number above 0.
float GridDraw(float span);

// A grid draw prepared once for a span that stays the same over many draws: the grid size and
// the number of scalings by 0.1. A grid size of 0 means no draw (the step is 0).
struct GridSpec {
    std::uint32_t m = 0;        // at most 32768: Rand never reaches a larger grid's upper part
    std::uint32_t inverse = 0;  // 2^32 / m rounded up: Rand % m by multiplication
    int e = 0;
    // With scalings (e above 0) the grid has fewer than 1000 points, and scaled[k] is point k
    // after its e scalings: exactly the values the loop of scalings gives. Null without scaling.
    const float* scaled = nullptr;
};
GridSpec PrepareGrid(float span);

// One draw on each of n prepared grids, in order: the same numbers as n calls of GridDraw.
void GridDrawEach(const GridSpec* grids, std::size_t n, float* out);

// The seed the program uses for a run: calendar time in whole seconds.
std::uint32_t ClockSeed();

}  // namespace quarmel
