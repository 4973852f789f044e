#include "app/RunStatus.h"

#include <algorithm>

#include "app/NumberText.h"
#include "app/RunRecords.h"
#include "app/UndefinedTexts.h"

namespace quarmel {
namespace {

// The message while each algorithm runs, and while it is paused.
struct MessageTexts {
    const char* Running;
    const char* Paused;
};
const MessageTexts kMessages[] = {
    {"Greedy algorithm is running ...", "Greedy algorithm is paused"},
    {"Steepest algorithm is running ...", "Steepest algorithm is paused"},
    {"Simulated Annealing algorithm is running ...", "Simulated Annealing algorithm is paused"},
    {"Genetic algorithm is running ...", "Genetic algorithm is paused"},
};

}  // namespace

void RunStatus::Start(AlgorithmKind kind, int iterations, std::uint32_t seed) {
    kind_ = kind;
    iterations_ = iterations;
    seed_ = "Seed " + std::to_string(seed);
    elapsed_ = quarmel::ElapsedText(0);
    barVisible_ = kind == Genetic;
    barMaximum_ = kind == Genetic ? iterations : 0;
    barValue_ = 0;
    stage_.clear();
    message_ = kMessages[kind].Running;
    undefined_.clear();
    undefinedHint_.clear();
}

void RunStatus::Counted(unsigned long long undefined, unsigned long long evaluations) {
    undefined_ = UndefinedShortText(undefined);
    undefinedHint_ = UndefinedCountText(undefined, evaluations);
}

void RunStatus::Published(std::size_t published) {
    if (kind_ != Genetic || published == 0) return;
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
    message_ = paused ? kMessages[kind_].Paused : kMessages[kind_].Running;
}

void RunStatus::End() {
    barVisible_ = false;
    stage_.clear();
    message_.clear();
}

}  // namespace quarmel
