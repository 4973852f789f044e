#include "algorithms/LocalSearch.h"

#include <algorithm>
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
    axes_.resize(n);
    tabled_ = n <= 64;
    for (int i = 0; i < n; ++i) {
        const VariableSpec& v = params.Variable(i);
        Axis& a = axes_[i];
        a.lo = v.Min;
        a.hi = v.Max;
        const float r = (v.Max - v.Min) * params.A;  // the radius, in single precision
        a.grid = PrepareGrid(r);                     // no draw when the radius is not above 0
        tabled_ = tabled_ && a.grid.m != 0;
    }
}

HillClimb::HillClimb(AlgParameters& params, SolutionList& workList, RunControl& control)
    : params_(params),
      workList_(workList),
      control_(control),
      maximize_(params.Maximize()),
      masks_(MaskCount(params.VariableCount())),
      neighbourhood_(params),
      candidate_(static_cast<std::size_t>(std::max(0, params.VariableCount()))) {}

bool HillClimb::Start() {
    if (!RandomStart(params_, workList_, control_)) return false;
    if (params_.VariableCount() < 1) return false;
    const SolutionView start = workList_.At(workList_.Count() - 1);
    current_.assign(start.Values.begin(), start.Values.end());
    value_ = workList_.LastFuncValue();
    return true;
}

bool HillClimb::MoveTo(const std::vector<double>& point, float value) {
    if (PublishStep(params_, workList_, point, value, control_)) return false;
    value_ = value;
    MoveCurrent(point, current_);
    return true;
}

}  // namespace quarmel
