#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/Algparameters.h"

namespace quarmel {

// What the status line shows of a run: its seed, the time it has run, and a progress bar for the
// algorithms whose progress can be told: the genetic algorithm's generation out of its budget,
// and for the annealing a busy bar beside its stage, as its number of stages is known only at its
// end. Follows the run's start, its ticks and its end; the window only shows it.
class RunStatus {
  public:
    void Start(AlgorithmKind kind, int iterations, std::uint32_t seed);
    // The run has published `published` solutions (a genetic run one per generation, the first
    // being generation 0).
    void Published(std::size_t published);
    // Where the annealing is; other algorithms have no stage to show.
    void Stage(long long number, bool heating, double temperature);
    void Elapsed(double seconds);
    void End() { barVisible_ = false; }

    bool BarVisible() const { return barVisible_; }
    // The bar goes from 0 to its maximum; a maximum of 0 makes it a busy bar.
    int BarMaximum() const { return barMaximum_; }
    int BarValue() const { return barValue_; }
    // The bar's text, %v standing for its value and %m for its maximum. Empty until the first
    // generation is shown: the bar then shows its own percentage.
    const std::string& BarFormat() const { return barFormat_; }
    const std::string& StageText() const { return stage_; }
    const std::string& ElapsedText() const { return elapsed_; }
    const std::string& SeedText() const { return seed_; }

  private:
    AlgorithmKind kind_ = Greedy;
    int iterations_ = 0;
    bool barVisible_ = false;
    int barMaximum_ = 0;
    int barValue_ = 0;
    std::string barFormat_;
    std::string stage_;
    std::string elapsed_;
    std::string seed_;
};

}  // namespace quarmel
