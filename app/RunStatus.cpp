#include "app/RunStatus.h"

#include <algorithm>

#include "app/NumberText.h"
#include "app/RunRecords.h"

namespace quarmel {

void RunStatus::Start(AlgorithmKind kind, int iterations, std::uint32_t seed) {
    kind_ = kind;
    iterations_ = iterations;
    seed_ = "Seed " + std::to_string(seed);
    elapsed_ = quarmel::ElapsedText(0);
    barVisible_ = kind == Genetic || kind == SimulatedAnnealing;
    barMaximum_ = kind == Genetic ? iterations : 0;
    barValue_ = 0;
    stage_.clear();
}

void RunStatus::Published(std::size_t published) {
    if (kind_ != Genetic || published == 0) return;
    const int generation = static_cast<int>(published) - 1;
    barValue_ = std::min(generation, iterations_);
    barFormat_ = "Generation %v of %m";
}

void RunStatus::Stage(long long number, bool heating, double temperature) {
    if (kind_ != SimulatedAnnealing) return;
    stage_ = "Stage " + std::to_string(number) + ", " + (heating ? "heating" : "cooling") + " at " +
             GeneralText(temperature, 4);
}

void RunStatus::Elapsed(double seconds) {
    elapsed_ = quarmel::ElapsedText(seconds);
}

}  // namespace quarmel
