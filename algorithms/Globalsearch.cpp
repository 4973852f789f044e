#include "algorithms/Globalsearch.h"

#include <atomic>
#include <memory>
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
        progress.Population = std::make_shared<const SolutionList>();
    });

    // Each operator reads the published population and writes the next one into storage nobody
    // else sees, then the two are swapped under the lock: publishing copies nothing. The
    // replaced snapshot's storage takes the next operator's result unless someone still holds
    // it (the worker's readers copy under the lock and keep no reference). Only this thread
    // changes the record, so reading it here needs no lock.
    std::shared_ptr<SolutionList> next;
    auto target = [&]() -> SolutionList& {
        if (next && next.use_count() == 1) {
            // Pairs with the release of the last reader's reference.
            std::atomic_thread_fence(std::memory_order_acquire);
        } else {
            next = std::make_shared<SolutionList>();
        }
        return *next;
    };
    auto publish = [&] {
        std::shared_ptr<const SolutionList> fresh = std::move(next);
        control.Publish([&] { std::swap(progress.Population, fresh); });
        // Made writable by this function (target), so it may be written again.
        next = std::const_pointer_cast<SolutionList>(std::move(fresh));
    };
    auto population = [&]() -> const SolutionList& { return *progress.Population; };
    auto history = [&] { return progress.History; };

    target() = CreatePopulation(params, params.PopSize, control.Seed());
    publish();
    if (population().Empty()) return history();
    const bool maximize = params.Maximize();
    Solution best(population().Best(maximize));
    control.Sleep(params.GeneticSleep);
    if (population().VariableCount() == 0) return history();

    for (int g = 0; g < params.Iterations; ++g) {
        if (Halted(control)) break;
        if (params.SelectionType == 0) {
            TournamentSelectionInto(population(), target(), params.TournamentSize, maximize);
            publish();
        } else if (params.SelectionType == 1) {
            RouletteSelectionInto(population(), target(), maximize);
            publish();
        }

        if (Halted(control)) break;
        // A single variable has nothing to cross.
        if (population().VariableCount() >= 2) {
            if (params.CrossoverType == 0) {
                OnePointCrossoverInto(population(), target(), params);
                publish();
            } else if (params.CrossoverType == 1) {
                TwoPointCrossoverInto(population(), target(), params);
                publish();
            } else if (params.CrossoverType == 2) {
                ArithmeticCrossoverInto(population(), target(), params);
                publish();
            }
        }

        if (Halted(control)) break;
        MutateInto(population(), target(), params);
        publish();

        KeepBetterOf(best, population(), maximize);
        control.Publish([&] { progress.History.Append(best); });

        if (Halted(control)) break;
        control.Sleep(params.GeneticSleep);
    }
    return history();
}

}  // namespace quarmel
