// The reference algorithms run as the others do: from the run's seed, within its budget, on the
// problem's own evaluations, and well enough to tell that pagmo2 is wired right.
#include <gtest/gtest.h>

#include <string>

#include "algorithms/AlgorithmTable.h"
#include "app/runs/BatchRun.h"
#include "cli/BatchOptions.h"

using namespace quarmel;

namespace {

// The sum of n squares over [-5, 5]^n, negated when maximised.
void Sphere(AlgParameters& p, int n, bool negated = false) {
    StartSettings(p);
    p.ClearVariables();
    std::string formula;
    for (int i = 0; i < n; ++i) {
        const std::string name(1, static_cast<char>('a' + i));
        p.AddVariable(name, -5, 5, 1);
        formula += (i ? "+" : "") + name + "^2";
    }
    p.SetFunctionText(negated ? "-(" + formula + ")" : formula);
    p.SetMaximize(negated);
}

const char* const kReferences[] = {"random", "cmaes", "de", "pso"};

AlgorithmKind Kind(const char* key) {
    return KindAt(static_cast<std::size_t>(FindAlgorithm(key)));
}

}  // namespace

// On the 10-variable sphere CMA-ES closes in on the minimum to 1e-8 within 20,000 evaluations
// in every run, where uniform samples stay far from it.
TEST(ReferenceRuns, CmaesReachesTheSphereOptimumWhereRandomSamplesCannot) {
    RunLimits limits;
    limits.MaxEvaluations = 20000;
    limits.Target = 1e-8;
    for (std::uint32_t seed = 1; seed <= 10; ++seed) {
        AlgParameters p;
        Sphere(p, 10);
        const RunOutcome cmaes = RunOnce(Kind("cmaes"), p, seed, limits);
        EXPECT_TRUE(cmaes.EvaluationsToTarget) << "seed " << seed << ": " << *cmaes.Best;
        p.RandomSamples = 1000000;
        const RunOutcome random = RunOnce(Kind("random"), p, seed, limits);
        EXPECT_EQ(random.Evaluations, 20000u);
        EXPECT_GT(*random.Best, 1e-2f) << "seed " << seed;
    }
}

// Maximising the negated function is the same search: the same points, the values negated.
TEST(ReferenceRuns, AMaximisedNegationGivesTheSameRunNegated) {
    RunLimits limits;
    limits.KeepPath = true;
    for (const char* key : kReferences) {
        AlgParameters min, max;
        Sphere(min, 3);
        Sphere(max, 3, true);
        for (AlgParameters* p : {&min, &max}) {
            p->RandomSamples = 2000;
            p->CmaGenerations = p->DeGenerations = p->PsoGenerations = 50;
        }
        const RunOutcome a = RunOnce(Kind(key), min, 5, limits);
        const RunOutcome b = RunOnce(Kind(key), max, 5, limits);
        ASSERT_GT(a.Solutions.Count(), 1u) << key;
        ASSERT_EQ(a.Solutions.Count(), b.Solutions.Count()) << key;
        EXPECT_EQ(a.Evaluations, b.Evaluations) << key;
        for (std::size_t i = 0; i < a.Solutions.Count(); ++i) {
            const SolutionView x = a.Solutions.At(i), y = b.Solutions.At(i);
            EXPECT_EQ(y.Value, -x.Value) << key << " step " << i;
            for (std::size_t v = 0; v < 3; ++v) EXPECT_EQ(y.Values[v], x.Values[v]) << key;
        }
    }
}

// A population of 10 evolved 5 generations costs 10 * (1 + 5) evaluations and publishes a step
// per generation; a budget ends it at the first generation that used it up. Random search
// counts single samples.
TEST(ReferenceRuns, GenerationsAndBudgetsEndRunsBetweenGenerations) {
    struct Case {
        const char* key;
        unsigned long long budget;
        unsigned long long evaluations;
        std::size_t steps;
        RunEnd ended;
    };
    const Case cases[] = {
        {"cmaes", 0, 60, 5, RunEnd::Finished},
        {"cmaes", 35, 40, 3, RunEnd::StoppedByBudget},
        {"de", 0, 60, 5, RunEnd::Finished},
        {"de", 35, 40, 3, RunEnd::StoppedByBudget},
        {"pso", 0, 60, 5, RunEnd::Finished},
        {"pso", 35, 40, 3, RunEnd::StoppedByBudget},
        {"random", 35, 35, 0, RunEnd::StoppedByBudget},
    };
    for (const Case& c : cases) {
        AlgParameters p;
        Sphere(p, 4);
        p.CmaPopSize = p.DePopSize = p.PsoPopSize = 10;
        p.CmaGenerations = p.DeGenerations = p.PsoGenerations = 5;
        RunLimits limits;
        limits.MaxEvaluations = c.budget;
        const RunOutcome r = RunOnce(Kind(c.key), p, 9, limits);
        EXPECT_EQ(r.Evaluations, c.evaluations) << c.key << " " << c.budget;
        if (c.steps) {
            EXPECT_EQ(r.Steps, c.steps) << c.key << " " << c.budget;
        }
        EXPECT_EQ(r.Ended, c.ended) << c.key << " " << c.budget;
    }
}
