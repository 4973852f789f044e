#include "algorithms/GeneticOperators.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "algorithms/IndexDraw.h"
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
    float operator()(ValueSpan<float> values) {
        const std::size_t n = std::min(values.size(), buffer_.size());
        for (std::size_t j = 0; j < n; ++j) buffer_[j] = values[j];
        for (std::size_t j = n; j < buffer_.size(); ++j) buffer_[j] = 0.0;
        return static_cast<float>(params_.Eval(buffer_.data()));
    }

  private:
    AlgParameters& params_;
    std::vector<double> buffer_;
};

// Gives out one Solution for each of population's, or empties it and says false when there is
// nothing to work on (no Solutions, or no variables).
bool SizeLike(const SolutionList& population, SolutionList& out) {
    if (population.Count() == 0 || population.VariableCount() == 0) {
        out.Resize(0, 0);
        return false;
    }
    out.Resize(population.Count(), population.VariableCount());
    return true;
}

// The frame the three crossovers share. makeChildren(first, second) turns the two parents'
// values into those of child A and child B, in place, and makes the kind's own draws. The
// children are made in out's storage from copies of their parents.
template <typename MakeChildren>
void Crossover(const SolutionList& population, SolutionList& out, AlgParameters& params,
               MakeChildren makeChildren) {
    if (!SizeLike(population, out)) return;
    const std::size_t n = population.Count();
    const std::size_t d = population.VariableCount();
    Evaluator evaluate(params, d);
    const float probability = params.COProbab;
    unsigned long long taking = 0;
    std::size_t first = 0;
    std::size_t k = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const int q = Rand() % 100;  // drawn for every Solution, the last one too
        if (static_cast<float>(q) >= probability || i == n - 1) {
            CopySolution(out.At(k++), population.At(i));
            continue;
        }
        if (++taking % 2 == 1) {
            first = i;  // waits for a partner; dropped if none comes
            continue;
        }
        const SolutionRef a = out.At(k++);
        const SolutionRef b = out.At(k++);
        CopySolution(a, population.At(first));
        CopySolution(b, population.At(i));
        makeChildren(a.Values, b.Values);
        a.Value = evaluate(a.Values);
        b.Value = evaluate(b.Values);
    }
    out.Resize(k, d);
}

// How one variable mutates: the step range a = (Max - Min) * MutA and the grid of the span 2a,
// prepared once per call. A variable without a proper range, or a range fraction of 0 or less,
// has no step to draw from: its values stay as they are.
struct MutationRange {
    float lo = 0, hi = 0, a = 0;
    bool movable = false;
    GridTable grid;
};

MutationRange PrepareMutation(const VariableSpec& v, float mutA) {
    MutationRange r;
    r.lo = v.Min;
    r.hi = v.Max;
    r.a = (v.Max - v.Min) * mutA;
    r.movable = v.Max > v.Min && r.a > 0.0f;
    if (r.movable) r.grid = PrepareGrid(2.0f * r.a);
    return r;
}

float MutateValue(float x, const MutationRange& range) {
    if (!range.movable) return x;
    float s;
    GridDrawEach(&range.grid, 1, &s);
    const float a = range.a, lo = range.lo, hi = range.hi;
    // Upward moves take half the step, so they lie in [a/2, a); downward ones in [0, a).
    float y = s >= a ? x + s * 0.5f : x - s;
    if (y > hi) y = hi - (y - hi);
    if (!(y >= lo)) y = lo + (lo - y);
    // One reflection per bound is enough for a range fraction up to 1; with a larger one (the
    // edit field accepts it) the lower reflection can throw the value past the maximum.
    if (y > hi) y = hi;
    return y;
}

}  // namespace

void TournamentSelectionInto(const SolutionList& population, SolutionList& out, int tournamentSize,
                             bool maximize) {
    const std::size_t n = population.Count();
    out.Resize(n, population.VariableCount());
    if (n == 0) return;
    const IndexDraw draw(n);
    for (std::size_t t = 0; t < n; ++t) {
        std::size_t w = draw();
        float held = population.FuncValue(w);
        for (long long j = 0; j <= tournamentSize; ++j) {
            const std::size_t c = draw();
            const float challenger = population.FuncValue(c);
            if (Improves(held, challenger, maximize)) {
                w = c;
                held = challenger;
            }
        }
        CopySolution(out.At(t), population.At(w));
    }
}

void RouletteSelectionInto(const SolutionList& population, SolutionList& out, bool maximize) {
    const std::size_t n = population.Count();
    out.Resize(n, population.VariableCount());
    if (n == 0) return;

    // The reference is the worst value, found with the wheel's own comparisons.
    float f = population.FuncValue(0);
    for (const SolutionView s : population) {
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

    // A draw is one of the hundred numbers k * 0.01, so each one's slot (the first that reaches
    // it) is found once. The draws rise, so no slot passed over for one draw can reach a later
    // one, whatever the wheel holds (a not-a-number share, from an infinite value, reaches
    // none): one walk over the wheel finds all hundred.
    std::array<std::uint32_t, 100> slot;
    std::size_t i = 0;
    for (int k = 0; k < 100; ++k) {
        const float r = static_cast<float>(k * 0.01);
        while (i < n && !(wheel[i] >= r)) ++i;
        // A draw beyond the end of the wheel (fewer than ten equal values) takes the last one.
        slot[k] = static_cast<std::uint32_t>(i == n ? n - 1 : i);
    }
    for (std::size_t t = 0; t < n; ++t)
        CopySolution(out.At(t), population.At(slot[RandomBelow(100)]));
}

void OnePointCrossoverInto(const SolutionList& population, SolutionList& out,
                           AlgParameters& params) {
    Crossover(population, out, params, [](ValueSpan<float> a, ValueSpan<float> b) {
        const std::size_t d = a.size();
        // Two values leave one cut only; nothing is drawn for it.
        const std::size_t k = d <= 2 ? 1 : 1 + RandIndex(d - 1);
        for (std::size_t j = k; j < d; ++j) std::swap(a[j], b[j]);
    });
}

void TwoPointCrossoverInto(const SolutionList& population, SolutionList& out,
                           AlgParameters& params) {
    Crossover(population, out, params, [](ValueSpan<float> a, ValueSpan<float> b) {
        const std::size_t d = a.size();
        // Two values: the second is exchanged, with no draw.
        std::size_t c1 = 1;
        std::size_t c2 = 2;
        if (d > 2) {
            c1 = 1 + RandIndex(d - 1);
            c2 = c1 + RandIndex(d - c1);
        }
        for (std::size_t j = c1; j < c2 && j < d; ++j) std::swap(a[j], b[j]);
    });
}

void ArithmeticCrossoverInto(const SolutionList& population, SolutionList& out,
                             AlgParameters& params) {
    const float ratio = params.COA;
    const float rest = 1.0f - ratio;
    Crossover(population, out, params, [ratio, rest](ValueSpan<float> a, ValueSpan<float> b) {
        for (std::size_t j = 0; j < a.size(); ++j) {
            const float p = a[j];
            const float s = b[j];
            a[j] = ratio * p + rest * s;
            b[j] = ratio * s + rest * p;
        }
    });
}

void MutateInto(const SolutionList& population, SolutionList& out, AlgParameters& params) {
    if (!SizeLike(population, out)) return;
    const std::size_t n = population.Count();
    const std::size_t d = population.VariableCount();
    Evaluator evaluate(params, d);
    const IndexDraw position(d);
    // The probability counts in whole percent: 40.9 acts as 40.
    const float probability = std::trunc(params.MProbab);
    std::vector<MutationRange> ranges;
    for (const VariableSpec& v : params.Variables())
        ranges.push_back(PrepareMutation(v, params.MutA));
    for (std::size_t i = 0; i < n; ++i) {
        const SolutionRef s = out.At(i);
        CopySolution(s, population.At(i));
        const int q = Rand() % 100;
        if (!(static_cast<float>(q) < probability)) continue;
        const std::size_t pos = position();
        s.Values[pos] = MutateValue(s.Values[pos], ranges[pos]);
        s.Value = evaluate(s.Values);
    }
}

void KeepBetterOf(Solution& best, const SolutionList& population, bool maximize) {
    const SolutionView candidate = population.Best(maximize);
    if (Improves(best.Value, candidate.Value, maximize)) CopySolution(best, candidate);
}

SolutionList CreatePopulation(AlgParameters& params, int count, std::uint32_t seed) {
    SeedRandom(seed);
    SolutionList population;
    if (params.Compile() != -1 || count <= 0) return population;
    const std::vector<VariableSpec>& variables = params.Variables();
    const std::size_t d = variables.size();
    std::vector<double> buffer(std::max(d, std::size_t{1}), 0.0);
    population.Resize(static_cast<std::size_t>(count), d);
    for (int k = 0; k < count; ++k) {
        const SolutionRef s = population.At(static_cast<std::size_t>(k));
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
    }
    return population;
}

}  // namespace quarmel
