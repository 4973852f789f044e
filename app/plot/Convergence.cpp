#include "app/plot/Convergence.h"

#include <algorithm>
#include <cmath>

#include "algorithms/AlgorithmTable.h"
#include "app/text/NumberText.h"
#include "model/Improvement.h"
#include "model/Settings.h"

namespace quarmel {

std::size_t ConvergenceCurve::Update(const SolutionList& list,
                                     const std::vector<unsigned long long>& evaluations) {
    const std::size_t before = values_.size();
    const std::size_t end = std::min(list.Count(), before + evaluations.size());
    for (std::size_t i = before; i < end; ++i) {
        const float v = list.FuncValue(i);
        const float best = best_.empty() || Improves(best_.back(), v, maximize_) ? v : best_.back();
        values_.push_back(v);
        best_.push_back(best);
        evaluations_.push_back(evaluations[i - before]);
    }
    return values_.size() - before;
}

bool ConvergenceCurve::AddPopulationMean(const SolutionList& population) {
    if (values_.empty() || population.Empty()) return false;
    const std::size_t generation = values_.size() - 1;
    if (!means_.empty() && means_.back().Generation >= generation) return false;
    double sum = 0.0;
    std::size_t n = 0;
    for (const SolutionView s : population) {
        if (std::isnan(s.Value)) continue;
        sum += s.Value;
        ++n;
    }
    if (n == 0) return false;
    means_.push_back({generation, sum / static_cast<double>(n)});
    return true;
}

std::string SeriesLabel(AlgorithmKind kind, const std::string& changedSettings) {
    std::string label = AlgorithmName(kind);
    return changedSettings.empty() ? label : label + " " + changedSettings;
}

std::string RunLabel(int number, AlgorithmKind kind, const std::string& changedSettings,
                     std::uint32_t seed) {
    return "#" + std::to_string(number) + " " + SeriesLabel(kind, changedSettings) + " seed " +
           std::to_string(seed);
}

}  // namespace quarmel
