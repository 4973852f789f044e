// Starts runs and returns from main while they go on: local and genetic runs busy evaluating and
// publishing with no delay, one asleep after a published step, one held by Pause. The process must
// end cleanly without waiting for them.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "algorithms/Optimizationthread.h"

using namespace quarmel;

int main() {
    AlgParameters busy;
    std::string f;
    for (int i = 0; i < 12; ++i) {
        const std::string name = "v" + std::to_string(i);
        busy.AddVariable(name, -10, 10, 0);
        f += (i ? "+" : "") + name + "^2";
    }
    busy.SetFunctionText(f);
    busy.SetMaximize(true);
    busy.LocalSleep = 0;

    AlgParameters sleepy = busy;
    sleepy.LocalSleep = 10000;

    auto a = OptimizationThread::Start(busy, Steepest);
    auto b = OptimizationThread::Start(sleepy, Greedy);
    auto c = OptimizationThread::Start(busy, SimulatedAnnealing);
    AlgParameters genetic = busy;
    genetic.Iterations = 1000000;
    genetic.GeneticSleep = 0;
    auto d = OptimizationThread::Start(genetic, Genetic);

    // Return only once every run has begun publishing.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (a->SnapshotSolutions().Count() < 2 || b->SnapshotSolutions().Count() < 2 ||
           c->SnapshotSolutions().Count() < 1 || d->SnapshotSolutions().Count() < 1) {
        if (std::chrono::steady_clock::now() > deadline) {
            std::puts("runs did not start");
            return 2;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    c->Hold();
    while (!c->IsHeld()) {
        if (std::chrono::steady_clock::now() > deadline) {
            std::puts("the run was not held");
            return 2;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // The steepest search may reach its end first on a loaded machine; the genetic run keeps
    // evaluating and publishing with no delay.
    if (b->IsFinished() || c->IsFinished() || d->IsFinished()) {
        std::puts("a run ended before the exit");
        return 3;
    }
    return 0;  // the handles are dropped here; nobody waits for the threads
}
