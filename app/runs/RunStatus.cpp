#include "app/runs/RunStatus.h"

#include <algorithm>

#include "algorithms/AlgorithmTable.h"
#include "app/runs/RunRecords.h"
#include "app/text/NumberText.h"
#include "app/text/UndefinedTexts.h"

namespace quarmel {

void RunStatus::Start(AlgorithmKind kind, const AlgParameters& params, std::uint32_t seed) {
    if (!IsAlgorithm(kind)) return;
    kind_ = kind;
    const AlgorithmRow& row = AlgorithmOf(kind);
    iterations_ = row.Generations ? params.*row.Generations : 0;
    seed_ = "Seed " + std::to_string(seed);
    elapsed_ = quarmel::ElapsedText(0);
    barVisible_ = row.Generations != nullptr;
    barMaximum_ = iterations_;
    barValue_ = 0;
    stage_.clear();
    message_ = row.Running;
    undefined_.clear();
    undefinedHint_.clear();
}

void RunStatus::Counted(unsigned long long undefined, unsigned long long evaluations) {
    undefined_ = UndefinedShortText(undefined);
    undefinedHint_ = UndefinedCountText(undefined, evaluations);
}

void RunStatus::Published(std::size_t published) {
    if (!barVisible_ || published == 0) return;
    barValue_ = static_cast<int>(std::min<std::size_t>(published, iterations_));
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

void RunStatus::SetPaused(bool paused) {
    if (message_.empty()) return;  // no run, or one that is over
    message_ = paused ? AlgorithmOf(kind_).Paused : AlgorithmOf(kind_).Running;
}

void RunStatus::End() {
    barVisible_ = false;
    stage_.clear();
    message_.clear();
}

}  // namespace quarmel
