#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/Algparameters.h"

namespace quarmel {

// What the status line shows of a run: whether it is running or paused, its seed, the time it
// has run, the genetic algorithm's generations out of its budget on a progress bar, and the
// annealing's stage (its number of stages is known only at its end, so its stage is its
// progress; a busy bar beside it would leave the message no room and move on while paused).
// Follows the run's start, its ticks and its end; the window only shows it.
class RunStatus {
  public:
    void Start(AlgorithmKind kind, const AlgParameters& params, std::uint32_t seed);
    // The run has published `published` solutions (a genetic run one per finished generation).
    void Published(std::size_t published);
    // Where the annealing is; other algorithms have no stage to show.
    void Stage(long long number, bool heating, double temperature);
    // The run's time without its pauses, and whether it is paused now (RunSession's).
    void Elapsed(double seconds);
    void SetPaused(bool paused);
    // The run's evaluations so far, and how many of them the formula left undefined.
    void Counted(unsigned long long undefined, unsigned long long evaluations);
    // The run is over: the bar, the stage and the message go; the seed and the time stay.
    void End();

    bool BarVisible() const { return barVisible_; }
    // The bar goes from 0 to its maximum.
    int BarMaximum() const { return barMaximum_; }
    int BarValue() const { return barValue_; }
    // The bar's text, %v standing for its value and %m for its maximum. Empty until the first
    // generation is shown: the bar then shows its own percentage.
    const std::string& BarFormat() const { return barFormat_; }
    const std::string& StageText() const { return stage_; }
    // The status line's message: the algorithm is running or paused; empty without a run.
    const std::string& MessageText() const { return message_; }
    const std::string& ElapsedText() const { return elapsed_; }
    const std::string& SeedText() const { return seed_; }
    // How many evaluations were undefined, short ("412 undefined") and in full ("412 of 1,225,601
    // evaluations undefined, counted as 0"); both empty while none was. They stay after the end.
    const std::string& UndefinedText() const { return undefined_; }
    const std::string& UndefinedHint() const { return undefinedHint_; }

  private:
    AlgorithmKind kind_ = Greedy;
    int iterations_ = 0;
    bool barVisible_ = false;
    int barMaximum_ = 0;
    int barValue_ = 0;
    std::string barFormat_;
    std::string stage_;
    std::string message_;
    std::string elapsed_;
    std::string seed_;
    std::string undefined_;
    std::string undefinedHint_;
};

}  // namespace quarmel
