#include "app/stats/ErtBootstrap.h"

#include <algorithm>
#include <limits>
#include <random>

#include "app/stats/ExperimentStats.h"

namespace quarmel {

namespace {

// An index in 0..n-1, the same on every standard library (their distributions differ).
std::size_t DrawBelow(std::mt19937_64& engine, std::uint64_t n) {
    const std::uint64_t limit =
        std::numeric_limits<std::uint64_t>::max() - std::numeric_limits<std::uint64_t>::max() % n;
    for (;;) {
        const std::uint64_t r = engine();
        if (r < limit) return static_cast<std::size_t>(r % n);
    }
}

}  // namespace

std::optional<ErtInterval> BootstrapErt(const std::vector<RunReach>& runs) {
    if (std::none_of(runs.begin(), runs.end(), [](const RunReach& r) { return r.Reached; })) {
        return std::nullopt;
    }
    std::mt19937_64 engine(kErtBootstrapSeed);
    std::vector<double> erts;
    erts.reserve(kErtResamples);
    for (std::size_t d = 0; d < kErtResamples; ++d) {
        unsigned long long evaluations = 0;
        std::size_t reached = 0;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const RunReach& r = runs[DrawBelow(engine, runs.size())];
            evaluations += r.Evaluations;
            reached += r.Reached;
        }
        erts.push_back(reached ? static_cast<double>(evaluations) / reached
                               : std::numeric_limits<double>::infinity());
    }
    std::sort(erts.begin(), erts.end());
    return ErtInterval{Quantile(erts, 0.1), Quantile(erts, 0.9)};
}

}  // namespace quarmel
