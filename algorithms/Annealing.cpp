#include "algorithms/Annealing.h"

#include <cmath>

#include "algorithms/LocalSearch.h"
#include "model/Improvement.h"
#include "model/Random.h"

namespace quarmel {

namespace {

// Moves per temperature stage: 2^n * Lk, the power in floating point and the product truncated;
// kept within 63 bits for problems far past any practical size.
std::int64_t StageLength(int n, int lk) {
    const double l = std::trunc(std::pow(2.0, n) * lk);
    if (!(l > 0.0)) return 0;
    if (l >= 9.2e18) return INT64_MAX;
    return static_cast<std::int64_t>(l);
}

}  // namespace

bool AcceptsWorse(float c, float v, bool maximize, double t) {
    const double d = maximize ? static_cast<double>(v - c) : static_cast<double>(c - v);
    const double q = (Rand() % 100) * 0.01;  // drawn for every move tried, also at t = 0
    if (!(t > 0.0)) return d == 0.0;         // at no temperature only an equal value passes
    const double p = std::exp(d / t * 10000);
    return p > q;  // a not-a-number p never passes
}

namespace {

class Annealing {
  public:
    Annealing(AlgParameters& params, SolutionList& workList, RunControl& control)
        : params_(params),
          workList_(workList),
          control_(control),
          maximize_(params.Maximize()),
          n_(params.VariableCount()),
          masks_(MaskCount(n_)),
          stageLength_(StageLength(n_, params.Lk)),
          neighbourhood_(params),
          candidate_(n_) {}

    void Run() {
        ResetToLastPublished();
        double t = params_.Temp0;
        const double alfa = params_.Alfa;
        bool heating = true;
        for (long long stage = 1;; ++stage) {
            control_.StageBegins(stage, t, heating);
            if (heating) {
                flat_ = 1;
                tried_ = 0;
                accepted_ = 0;
                sawNumber_ = false;
            }
            if (!RunStage(heating, t)) return;  // stopped
            // No temperature makes a not-a-number value acceptable: a heating stage that saw
            // nothing else would be followed by hotter ones for ever.
            if (heating && !sawNumber_) ending_ = true;
            if (heating) {
                const double ratio = static_cast<double>(accepted_) / tried_ * 100;
                // A ratio of 100 also ends the heating: it can never exceed a PercentAc of 100.
                if (ratio > params_.PercentAc || ratio >= 100.0) {
                    heating = false;
                    ResetToLastPublished();  // back to the start point
                } else {
                    t = t + params_.TempPlus;
                }
            } else {
                t = alfa * t;
                if (t < 1.0) ending_ = true;
            }
            if (ending_) return;
        }
    }

  private:
    void ResetToLastPublished() {
        const SolutionView start = workList_.At(workList_.Count() - 1);
        current_.assign(start.Values.begin(), start.Values.end());
        c_ = workList_.LastFuncValue();
    }

    // One temperature stage; false when the run must end at once (stop requested). The
    // counters and the current value are locals for the stage, written back when it ends: as
    // members they would be stored and reloaded around every evaluation and publish.
    bool RunStage(bool heating, double t) {
        std::int64_t tried = tried_, accepted = accepted_, flat = flat_;
        float c = c_;
        bool sawNumber = sawNumber_;
        const bool going = RunMoves(heating, t, tried, accepted, flat, c, sawNumber);
        tried_ = tried;
        accepted_ = accepted;
        flat_ = flat;
        c_ = c;
        sawNumber_ = sawNumber;
        return going;
    }

    // The stage's moves, on RunStage's locals.
    bool RunMoves(bool heating, double t, std::int64_t& tried, std::int64_t& accepted,
                  std::int64_t& flat, float& c, bool& sawNumber) {
        std::int64_t moves = 0;
        for (;;) {
            for (std::uint64_t mask = 0; mask < masks_; ++mask) {
                if (StopDue(control_, mask)) return false;
                control_.PassPauseGate();
                ++moves;
                ++tried;
                neighbourhood_.Make(current_, mask, candidate_);
                const float v = Evaluate(params_, candidate_);
                if (heating && !std::isnan(v)) sawNumber = true;
                if (Improves(c, v, maximize_)) {
                    c = v;
                    if (!heating) {
                        if (PublishStep(params_, workList_, candidate_, v, control_)) return false;
                    } else {
                        ++accepted;
                    }
                    MoveCurrent(candidate_, current_);
                } else if (heating && AcceptsWorse(c, v, maximize_, t)) {
                    c = v;
                    MoveCurrent(candidate_, current_);
                    ++accepted;
                }
                if (moves == stageLength_) return true;
                if (heating) {
                    flat = 1;
                } else {
                    // A not-a-number difference counts as 0, an infinite one as infinitely
                    // large; no conversion to an integer, which could overflow.
                    double diff = std::fabs(std::trunc(static_cast<double>(c - v)));
                    if (std::isnan(diff)) diff = 0.0;
                    if (diff >= params_.Stop) {
                        flat = 1;
                    } else {
                        ++flat;
                    }
                }
                if (flat >= stageLength_) {
                    ending_ = true;
                    return true;
                }
            }
        }
    }

    AlgParameters& params_;
    SolutionList& workList_;
    RunControl& control_;
    const bool maximize_;
    const int n_;
    const std::uint64_t masks_;
    const std::int64_t stageLength_;
    std::vector<float> current_;  // the heating phase's private point; the last published one
                                  // while cooling
    Neighbourhood neighbourhood_;
    std::vector<double> candidate_;
    float c_ = 0.0f;
    std::int64_t flat_ = 1;
    std::int64_t tried_ = 0;
    std::int64_t accepted_ = 0;
    bool ending_ = false;
    bool sawNumber_ = false;  // whether the heating stage met a candidate whose value is a number
};

}  // namespace

void RunAnnealing(AlgParameters& params, SolutionList& workList, RunControl& control) {
    if (!RandomStart(params, workList, control)) return;
    if (params.VariableCount() < 1) return;
    Annealing(params, workList, control).Run();
}

}  // namespace quarmel
