#include "model/Random.h"

#include <cmath>
#include <ctime>

namespace quarmel {

namespace {

// A span is scaled by 10 until it reaches 100, so a grid with scalings has at most 999 points,
// and the smallest positive float needs 46 scalings.
constexpr int kScaledPoints = 1000;
constexpr int kMaxScalings = 64;

// Row e holds every point below 1000 after e scalings, each by 0.1 with the product in double
// and rounded to float: row e is row e - 1 scaled once more, the loop's own steps. Filled once,
// on first use (a function-local static is initialised once whatever the threads). The storage
// has no destructor, so workers still drawing while the program exits find it intact.
// Grids without scaling (up to 32768 points, as Rand never reaches further) have a row of
// whole numbers of their own, so every grid draws from a table.
constexpr int kWholePoints = 32768;

struct ScaledTable {
    float points[(kMaxScalings + 1) * kScaledPoints];
    float whole[kWholePoints];
};

void Fill(ScaledTable& t) {
    for (int k = 0; k < kWholePoints; ++k) t.whole[k] = static_cast<float>(k);
    for (int k = 0; k < kScaledPoints; ++k) t.points[k] = static_cast<float>(k);
    for (int row = 1; row <= kMaxScalings; ++row) {
        for (int k = 0; k < kScaledPoints; ++k) {
            const float r = t.points[(row - 1) * kScaledPoints + k];
            t.points[row * kScaledPoints + k] = static_cast<float>(static_cast<double>(r) * 0.1);
        }
    }
}

const ScaledTable& Table() {
    static ScaledTable table;
    static const bool filled = (Fill(table), true);
    static_cast<void>(filled);
    return table;
}

const float* ScaledPoints(int e) {
    return e == 0 ? Table().whole : Table().points + static_cast<std::size_t>(e) * kScaledPoints;
}

}  // namespace

void SeedRandom(std::uint32_t seed) {
    detail::randomState = seed;
    Rand();
}

GridTable PrepareGrid(float span) {
    GridTable g;
    if (!(span > 0.0f) || !std::isfinite(span)) return g;
    float t = span;
    while (!(t >= 100.0f)) {
        t = t * 10.0f;
        ++g.e;
    }
    // Rand is below 2^15, so any grid size above that leaves the draw unchanged; capping the
    // size keeps the conversion in range for spans up to the largest float.
    g.m = t >= 32768.0f ? 32768u : static_cast<std::uint32_t>(t);
    g.inverse = UINT32_MAX / g.m + 1;
    // With scalings t stayed below 100 until the last one, so m is at most 1000 (draws below
    // it), and e at most 47: the table always holds the grid.
    g.scaled = ScaledPoints(g.e);
    return g;
}

void GridDrawEach(const GridTable* grids, std::size_t n, float* out) {
    std::uint32_t s = TakeRandState();
    for (std::size_t i = 0; i < n; ++i) out[i] = GridDrawFrom(grids[i], s);
    PutRandState(s);
}

float GridDraw(float span) {
    const GridTable g = PrepareGrid(span);
    float r;
    GridDrawEach(&g, 1, &r);
    return r;
}

std::uint32_t ClockSeed() {
    return static_cast<std::uint32_t>(std::time(nullptr));
}

}  // namespace quarmel
