#include "Globalsearch.h"

#include <utility>

#include "algorithms/GeneticOperators.h"

namespace quarmel {

namespace {

// Passes the pause gate, then tells whether the run is to end.
bool Halted(RunControl& control) {
    control.PassPauseGate();
    return control.StopRequested();
}

}  // namespace

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
