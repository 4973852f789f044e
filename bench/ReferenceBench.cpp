#include <benchmark/benchmark.h>

#include <time.h>

#include <pagmo/algorithms/cmaes.hpp>
#include <pagmo/algorithms/de.hpp>
#include <pagmo/algorithms/pso.hpp>
#include <pagmo/population.hpp>
#include <pagmo/problem.hpp>
#include <string>

#include "algorithms/AlgorithmTable.h"
#include "app/runs/BatchRun.h"

using namespace quarmel;

// A reference run through Quarmel (the batch runner's RunOnce: publishing each generation,
// counting evaluations, watching the budget) against the same pagmo2 algorithm called directly
// on the same problem, with the same population, generations and seed, so that both make the
// same evaluations. The ratio counter is Quarmel's cost over pagmo's own.
// Arguments: algorithm (0 cmaes, 1 de, 2 pso), number of variables.

namespace {

const char* const kKeys[] = {"cmaes", "de", "pso"};
constexpr int kPopulation = 20;
constexpr int kGenerations = 200;

// The sum of (v - 1)^2 over n variables in [-5, 5].
void Problem(AlgParameters& p, int n) {
    std::string formula;
    for (int i = 0; i < n; ++i) {
        const std::string name(1, static_cast<char>('a' + i));
        p.AddVariable(name, -5, 5, 0);
        formula += (i ? "+(" : "(") + name + "-1)^2";
    }
    p.SetFunctionText(formula);
    p.CmaPopSize = p.DePopSize = p.PsoPopSize = kPopulation;
    p.CmaGenerations = p.DeGenerations = p.PsoGenerations = kGenerations;
}

struct Direct {
    AlgParameters* params = nullptr;
    pagmo::vector_double fitness(const pagmo::vector_double& x) const {
        return {params->Eval(x.data())};
    }
    std::pair<pagmo::vector_double, pagmo::vector_double> get_bounds() const {
        const int n = params->VariableCount();
        return {pagmo::vector_double(n, -5.0), pagmo::vector_double(n, 5.0)};
    }
};

void EvolveDirectly(int algorithm, AlgParameters& p, unsigned seed) {
    p.Compile();
    pagmo::population pop(pagmo::problem(Direct{&p}), kPopulation, seed);
    if (algorithm == 0) {
        pop = pagmo::cmaes(kGenerations, -1, -1, -1, -1, p.CmaSigma0, p.CmaFtol, p.CmaXtol, false,
                           true, seed)
                  .evolve(pop);
    } else if (algorithm == 1) {
        pop = pagmo::de(kGenerations, p.DeF, p.DeCR, p.DeVariant, p.DeFtol, p.DeXtol, seed)
                  .evolve(pop);
    } else {
        pop = pagmo::pso(kGenerations, p.PsoOmega, p.PsoEta1, p.PsoEta2, p.PsoMaxVel, p.PsoVariant,
                         2u, 4u, false, seed)
                  .evolve(pop);
    }
    benchmark::DoNotOptimize(pop.champion_f());
}

double Now() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_ReferenceOverPagmo(benchmark::State& state) {
    const int algorithm = static_cast<int>(state.range(0));
    const int n = static_cast<int>(state.range(1));
    const auto kind = KindAt(static_cast<std::size_t>(FindAlgorithm(kKeys[algorithm])));
    double quarmel = 0, direct = 0;
    unsigned seed = 1;
    unsigned long long evaluations = 0, directEvaluations = 0;
    for (auto _ : state) {
        AlgParameters a, b;
        Problem(a, n);
        Problem(b, n);
        const double t0 = Now();
        const RunOutcome run = RunOnce(kind, a, seed, RunLimits{});
        const double t1 = Now();
        EvolveDirectly(algorithm, b, seed);
        const double t2 = Now();
        quarmel += t1 - t0;
        direct += t2 - t1;
        evaluations += run.Evaluations;
        directEvaluations += b.Evaluations();
        ++seed;
    }
    state.counters["ratio"] = quarmel / direct;
    // Both make the same evaluations, or the comparison means nothing.
    state.counters["same_evaluations"] = evaluations == directEvaluations;
}

}  // namespace

BENCHMARK(BM_ReferenceOverPagmo)
    ->ArgsProduct({{0, 1, 2}, {3, 10, 19}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);
