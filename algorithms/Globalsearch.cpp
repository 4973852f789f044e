#include "Globalsearch.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "model/Improvement.h"
#include "model/Random.h"

namespace quarmel {

namespace {

// An index in 0..m-1; only values below 32768 come out, as Rand is 15 bits wide.
std::size_t RandIndex(std::size_t m) {
    return static_cast<std::size_t>(Rand()) % m;
}

// Evaluates new points. The buffer is made once per operator and always has room for every
// variable of the problem, so the parser never reads past it whatever the population holds.
class Evaluator {
  public:
    Evaluator(AlgParameters& params, std::size_t valueCount)
        : params_(params),
          buffer_(std::max({valueCount, static_cast<std::size_t>(params.VariableCount()),
                            std::size_t{1}}),
                  0.0) {}

    // The values widened to doubles; the result narrowed to float.
    float operator()(const std::vector<float>& values) {
        const std::size_t n = std::min(values.size(), buffer_.size());
        for (std::size_t j = 0; j < n; ++j) buffer_[j] = values[j];
        for (std::size_t j = n; j < buffer_.size(); ++j) buffer_[j] = 0.0;
        return static_cast<float>(params_.Eval(buffer_.data()));
    }

  private:
    AlgParameters& params_;
    std::vector<double> buffer_;
};

// The frame the three crossovers share. makeChildren(first, second, childA, childB) fills the
// children's values (already sized) and makes the kind's own draws.
template <typename MakeChildren>
SolutionList Crossover(SolutionList population, AlgParameters& params, MakeChildren makeChildren) {
    SolutionList result;
    const std::size_t n = population.Count();
    if (n == 0) return result;
    const std::size_t d = population.VariableCount();
    if (d == 0) return result;
    result.Reserve(n);
    Evaluator evaluate(params, d);
    const float probability = params.COProbab;
    unsigned long long taking = 0;
    std::size_t first = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const int q = Rand() % 100;  // drawn for every Solution, the last one too
        if (static_cast<float>(q) >= probability || i == n - 1) {
            // The list is our own copy and each index is visited once, so it can be moved.
            result.Append(std::move(population.At(i)));
            continue;
        }
        if (++taking % 2 == 1) {
            first = i;  // waits for a partner; dropped if none comes
            continue;
        }
        Solution a;
        Solution b;
        a.Values.resize(d);
        b.Values.resize(d);
        makeChildren(population.At(first).Values, population.At(i).Values, a.Values, b.Values);
        a.Value = evaluate(a.Values);
        b.Value = evaluate(b.Values);
        result.Append(std::move(a));
        result.Append(std::move(b));
    }
    return result;
}

// One mutated value. A variable without a proper range, or a range fraction of 0 or less, has
// no step to draw from: the value stays as it is.
float MutateValue(float x, float lo, float hi, float mutA) {
    const float a = (hi - lo) * mutA;
    if (!(hi > lo) || !(a > 0.0f)) return x;
    const float s = GridDraw(2.0f * a);
    // Upward moves take half the step, so they lie in [a/2, a); downward ones in [0, a).
    float y = s >= a ? x + s * 0.5f : x - s;
    if (y > hi) y = hi - (y - hi);
    if (!(y >= lo)) y = lo + (lo - y);
    // One reflection per bound is enough for a range fraction up to 1; with a larger one (the
    // edit field accepts it) the lower reflection can throw the value past the maximum.
    if (y > hi) y = hi;
    return y;
}

// Passes the pause gate, then tells whether the run is to end.
bool Halted(RunControl& control) {
    control.PassPauseGate();
    return control.StopRequested();
}

}  // namespace

SolutionList TournamentSelection(SolutionList population, int tournamentSize, bool maximize) {
    SolutionList result;
    const std::size_t n = population.Count();
    if (n == 0) return result;
    result.Reserve(n);
    for (std::size_t t = 0; t < n; ++t) {
        std::size_t w = RandIndex(n);
        for (long long j = 0; j <= tournamentSize; ++j) {
            const std::size_t c = RandIndex(n);
            if (Improves(population.FuncValue(w), population.FuncValue(c), maximize)) w = c;
        }
        result.Append(population.At(w));
    }
    return result;
}

SolutionList RouletteSelection(SolutionList population, bool maximize) {
    SolutionList result;
    const std::size_t n = population.Count();
    if (n == 0) return result;

    // The reference is the worst value, found with the wheel's own comparisons.
    float f = population.FuncValue(0);
    for (const Solution& s : population) {
        if (maximize ? !(s.Value >= f) : s.Value > f) f = s.Value;
    }
    std::vector<float> wheel(n);
    float total = 0.0f;
    for (std::size_t i = 0; i < n; ++i) {
        wheel[i] = maximize ? population.FuncValue(i) - f : f - population.FuncValue(i);
        total += wheel[i];
    }
    // Without any spread every share is 0.1, whatever n is.
    const bool flat = total == 0.0f || std::isnan(total);
    for (std::size_t i = 0; i < n; ++i) {
        const float share = flat ? 0.1f : wheel[i] / total;
        wheel[i] = i == 0 ? share : wheel[i - 1] + share;
    }

    // Shares are never negative, so the wheel rises until a not-a-number share (an infinite
    // value) spoils the rest of it; below that point a binary search finds the same slot as a
    // walk from the start. Should the wheel ever fall, walk it.
    std::size_t usable = 0;
    bool rising = true;
    while (usable < n && !std::isnan(wheel[usable])) {
        if (usable > 0 && wheel[usable] < wheel[usable - 1]) rising = false;
        ++usable;
    }
    result.Reserve(n);
    for (std::size_t t = 0; t < n; ++t) {
        const float r = static_cast<float>(RandomBelow(100) * 0.01);
        std::size_t pick = n;
        if (rising) {
            pick = static_cast<std::size_t>(
                std::lower_bound(wheel.begin(), wheel.begin() + usable, r) - wheel.begin());
            if (pick == usable) pick = n;
        } else {
            for (std::size_t i = 0; i < n; ++i) {
                if (wheel[i] >= r) {
                    pick = i;
                    break;
                }
            }
        }
        // A draw beyond the end of the wheel (fewer than ten equal values) takes the last one.
        if (pick == n) pick = n - 1;
        result.Append(population.At(pick));
    }
    return result;
}

SolutionList OnePointCrossover(SolutionList population, AlgParameters& params) {
    return Crossover(std::move(population), params,
                     [](const std::vector<float>& p, const std::vector<float>& s,
                        std::vector<float>& a, std::vector<float>& b) {
                         const std::size_t d = a.size();
                         // Two values leave one cut only; nothing is drawn for it.
                         const std::size_t k = d <= 2 ? 1 : 1 + RandIndex(d - 1);
                         for (std::size_t j = 0; j < d; ++j) {
                             a[j] = j < k ? p[j] : s[j];
                             b[j] = j < k ? s[j] : p[j];
                         }
                     });
}

SolutionList TwoPointCrossover(SolutionList population, AlgParameters& params) {
    return Crossover(std::move(population), params,
                     [](const std::vector<float>& p, const std::vector<float>& s,
                        std::vector<float>& a, std::vector<float>& b) {
                         const std::size_t d = a.size();
                         std::size_t c1 = 1;
                         std::size_t c2 = d;  // two values: the second is exchanged, no draw
                         if (d > 2) {
                             c1 = 1 + RandIndex(d - 1);
                             c2 = c1 + RandIndex(d - c1);
                         } else if (d < 2) {
                             c2 = 1;  // a single value has nothing to exchange
                         }
                         for (std::size_t j = 0; j < d; ++j) {
                             const bool inside = c1 <= j && j < c2;
                             a[j] = inside ? s[j] : p[j];
                             b[j] = inside ? p[j] : s[j];
                         }
                     });
}

SolutionList ArithmeticCrossover(SolutionList population, AlgParameters& params) {
    const float ratio = params.COA;
    return Crossover(std::move(population), params,
                     [ratio](const std::vector<float>& p, const std::vector<float>& s,
                             std::vector<float>& a, std::vector<float>& b) {
                         const float rest = 1.0f - ratio;
                         for (std::size_t j = 0; j < a.size(); ++j) {
                             a[j] = ratio * p[j] + rest * s[j];
                             b[j] = ratio * s[j] + rest * p[j];
                         }
                     });
}

SolutionList Mutate(SolutionList population, AlgParameters& params) {
    SolutionList result;
    const std::size_t n = population.Count();
    if (n == 0) return result;
    const std::size_t d = population.VariableCount();
    if (d == 0) return result;
    result.Reserve(n);
    Evaluator evaluate(params, d);
    // The probability counts in whole percent: 40.9 acts as 40.
    const float probability = std::trunc(params.MProbab);
    const float mutA = params.MutA;
    const std::vector<VariableSpec>& variables = params.Variables();
    for (std::size_t i = 0; i < n; ++i) {
        const int q = Rand() % 100;
        // Our own copy, visited once: move it on, changed or not.
        Solution s = std::move(population.At(i));
        if (static_cast<float>(q) < probability) {
            const std::size_t pos = RandIndex(d);
            const VariableSpec& v = variables[pos];
            s.Values[pos] = MutateValue(s.Values[pos], v.Min, v.Max, mutA);
            s.Value = evaluate(s.Values);
        }
        result.Append(std::move(s));
    }
    return result;
}

Solution KeepBetter(const Solution& best, const Solution& candidate, bool maximize) {
    return Improves(best.Value, candidate.Value, maximize) ? candidate : best;
}

SolutionList CreatePopulation(AlgParameters& params, int count, std::uint32_t seed) {
    SeedRandom(seed);
    SolutionList population;
    if (params.Compile() != -1 || count <= 0) return population;
    const std::vector<VariableSpec>& variables = params.Variables();
    const std::size_t d = variables.size();
    std::vector<double> buffer(std::max(d, std::size_t{1}), 0.0);
    population.Reserve(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        Solution s;
        s.Values.resize(d);
        for (std::size_t j = 0; j < d; ++j) {
            const float lo = variables[j].Min;
            const float hi = variables[j].Max;
            double x = static_cast<double>(GridDraw(hi - lo)) + static_cast<double>(lo);
            if (x > hi) x = hi;
            s.Values[j] = static_cast<float>(x);
            // The point is evaluated before narrowing: its value belongs to the double.
            buffer[j] = x;
        }
        s.Value = static_cast<float>(params.Eval(buffer.data()));
        population.Append(std::move(s));
    }
    return population;
}

SolutionList RunGenetic(GeneticProgress& progress, AlgParameters& params, RunControl& control) {
    control.Publish([&] {
        progress.History.Clear();
        progress.Population.Clear();
    });

    // The copy for the window is made outside the lock, into the storage of the list it
    // replaces two publishes ago; under the lock the lists are only swapped.
    SolutionList spare;
    auto publish = [&](const SolutionList& population) {
        spare = population;
        control.Publish([&] { std::swap(progress.Population, spare); });
    };
    // Only this thread changes the lists, so reading them here needs no lock.
    auto history = [&] { return progress.History; };

    SolutionList population = CreatePopulation(params, params.PopSize, control.Seed());
    publish(population);
    if (population.Empty()) return history();
    const bool maximize = params.Maximize();
    Solution best = population.Best(maximize);
    control.Sleep(params.GeneticSleep);
    if (population.VariableCount() == 0) return history();

    for (int g = 0; g < params.Iterations; ++g) {
        if (Halted(control)) break;
        if (params.SelectionType == 0) {
            population =
                TournamentSelection(std::move(population), params.TournamentSize, maximize);
            publish(population);
        } else if (params.SelectionType == 1) {
            population = RouletteSelection(std::move(population), maximize);
            publish(population);
        }

        if (Halted(control)) break;
        // A single variable has nothing to cross.
        if (population.VariableCount() >= 2) {
            if (params.CrossoverType == 0) {
                population = OnePointCrossover(std::move(population), params);
                publish(population);
            } else if (params.CrossoverType == 1) {
                population = TwoPointCrossover(std::move(population), params);
                publish(population);
            } else if (params.CrossoverType == 2) {
                population = ArithmeticCrossover(std::move(population), params);
                publish(population);
            }
        }

        if (Halted(control)) break;
        population = Mutate(std::move(population), params);
        publish(population);

        best = KeepBetter(best, population.Best(maximize), maximize);
        control.Publish([&] { progress.History.Append(best); });

        if (Halted(control)) break;
        control.Sleep(params.GeneticSleep);
    }
    return history();
}

}  // namespace quarmel
