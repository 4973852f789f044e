#include "LocalSearch.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "model/Random.h"

namespace quarmel {

namespace {

// The number of 0.01 steps of a variable's range: the width in single precision, the product in
// double. An empty, reversed or unusable range gives 0 (no draw); a range too wide for an int
// gives the largest int, which leaves Rand's draw unchanged.
int StartGridSize(const VariableSpec& v) {
    const double u = static_cast<double>(static_cast<float>(v.Max - v.Min)) * 100.0;
    if (!(u >= 1.0)) return 0;
    if (u >= static_cast<double>(INT_MAX)) return INT_MAX;
    return static_cast<int>(u);
}

}  // namespace

std::uint64_t MaskCount(int n) {
    if (n <= 0) return 1;
    if (n >= 64) return UINT64_MAX;
    return std::uint64_t{1} << n;
}

bool RandomStart(AlgParameters& params, SolutionList& list, RunControl& control) {
    SeedRandom(control.Seed());
    control.Publish([&list] { list.Clear(); });
    if (params.Compile() != -1) return false;

    const int n = params.VariableCount();
    std::vector<double> point(n);
    Solution start;
    start.Values.resize(n);
    for (int i = 0; i < n; ++i) {
        const VariableSpec& v = params.Variable(i);
        const int u = StartGridSize(v);
        float offset = 0.0f;
        if (u != 0) offset = static_cast<float>((Rand() % u) * 0.01);
        point[i] = static_cast<double>(v.Min) + static_cast<double>(offset);
        start.Values[i] = static_cast<float>(point[i]);
    }
    start.Value = Evaluate(params, point);
    control.Publish([&list, &start] { list.Append(std::move(start)); });
    return true;
}

Neighbourhood::Neighbourhood(const AlgParameters& params) {
    const int n = params.VariableCount();
    lo_.resize(n);
    hi_.resize(n);
    grids_.resize(n);
    steps_.resize(n);
    signs_.resize(n);
    for (int i = 0; i < n; ++i) {
        const VariableSpec& v = params.Variable(i);
        lo_[i] = v.Min;
        hi_[i] = v.Max;
        const float r = (v.Max - v.Min) * params.A;  // the radius, in single precision
        grids_[i] = PrepareGrid(r);                  // no draw when the radius is not above 0
    }
}

void Neighbourhood::Make(const std::vector<float>& current, std::uint64_t mask,
                         std::vector<double>& candidate) {
    const std::size_t n = lo_.size();
    candidate.resize(n);
    GridDrawEach(grids_.data(), n, steps_.data());
    // Downward steps carry their sign: cur + (-o) is exactly cur - o.
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t down = MaskBit(mask, static_cast<int>(i)) ? 0u : 0x80000000u;
        signs_[i] = down;
    }
    // A move that leaves the range keeps the current value. Since the current point lies within
    // its range (or the step is 0), an upward move can only pass hi and a downward one only lo,
    // so both bounds are checked for either direction. Written without branches: the mask
    // bits and range checks change from candidate to candidate.
    const float* cur = current.data();
    const float* lo = lo_.data();
    const float* hi = hi_.data();
    const float* steps = steps_.data();
    const std::uint32_t* signs = signs_.data();
    double* out = candidate.data();
    for (std::size_t i = 0; i < n; ++i) {
        std::uint32_t bits;
        std::memcpy(&bits, &steps[i], sizeof bits);
        bits ^= signs[i];
        float o;
        std::memcpy(&o, &bits, sizeof o);
        const float h = cur[i] + o;
        const bool outside = (h > hi[i]) | (h < lo[i]);
        out[i] = outside ? cur[i] : h;
    }
}

void MakeNeighbour(const AlgParameters& params, const std::vector<float>& current,
                   std::uint64_t mask, std::vector<double>& candidate) {
    Neighbourhood(params).Make(current, mask, candidate);
}

bool PublishStep(const AlgParameters& params, SolutionList& list,
                 const std::vector<double>& candidate, float value, RunControl& control) {
    Solution step;
    step.Values.assign(candidate.begin(), candidate.end());  // narrowed to floats
    step.Value = value;
    control.Publish([&list, &step] { list.Append(std::move(step)); });
    control.Sleep(params.LocalSleep);
    return control.StopRequested();
}

}  // namespace quarmel
