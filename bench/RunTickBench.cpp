// One tick of the progress timer with long runs: copying the run's lists as a worker snapshot
// does (under the run's lock), building the marker lists, handing them to the chart model with
// the samples, refilling the Solutions page (model and table view, as shown) and the two result
// labels. The list copy alone is measured beside it: the tick should grow no faster than it.
// The last cases are ticks late in a long run, when only the few solutions published since the
// previous tick are new, on the Solutions page and on the Chart page.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>

#include <cstdint>
#include <memory>
#include <mutex>

#include "app/chartpage/MarkerFeed.h"
#include "app/runs/RunProgress.h"
#include "app/text/ResultLabels.h"
#include "chart/ChartModel.h"
#include "chart/MarkerPoints.h"
#include "chart/Sampling.h"
#include "model/Problem.h"
#include "model/Random.h"
#include "ui/mainwindow/SolutionsTableModel.h"
#include "ui/mainwindow/SolutionsTableView.h"

using namespace quarmel;

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "quarmel_run_bench";
    static char* argv[] = {name, nullptr};
    // Widgets without a display: the table view is laid out and painted offscreen.
    static bool platform = qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = (static_cast<void>(platform), new QApplication(argc, argv));
    return *app;
}

const std::vector<VariableSpec> kVariables = {
    {"x", -50, 50, 0}, {"y", -40, 40, 6}, {"c", 1, 15, 5}};
const std::vector<std::string> kNames = {"x", "y", "c"};

SolutionList MakeList(std::size_t n) {
    SeedRandom(7);
    SolutionList list;
    list.Reserve(n, kVariables.size());
    for (std::size_t i = 0; i < n; ++i) {
        Solution s;
        s.Values = {Rand() * 0.003f - 50, Rand() * 0.002f - 40, Rand() * 0.0004f + 1};
        s.Value = s.Values[0] * s.Values[0] + s.Values[2];
        list.Append(std::move(s));
    }
    return list;
}

// The start-up formula's surface over x and y, as the Chart page samples it, and its axes.
SurfaceSampling StartUpSurface() {
    FunctionParser parser;
    AddSpiral(parser);
    parser.Parse("x^2+(y-2)^2+3*c", "x,y,c", false);
    return SampleOverXY(parser, kVariables, 0, 1, -50, 50, -40, 40);
}

MarkerAxes AxesOver(const SurfaceSampling& s) {
    return {0, 1, s.DisplayXMin, s.DisplayXMax, s.DisplayYMin, s.DisplayYMax};
}

// The Solutions page's table as the window shows it, laid out and painted offscreen.
struct ShownTable {
    SolutionsTableModel model;
    SolutionsTableView view;
    ShownTable() {
        view.verticalHeader()->hide();
        view.setModel(&model);
        view.resize(614, 440);
        view.show();
    }
};

// The texts of the two result labels, as a tick that found the list changed makes them.
void MakeResultLabels(const SolutionList& solutions) {
    std::string first = InitialSolutionText(solutions);
    std::string best = OptimalSolutionText(solutions, false);
    benchmark::DoNotOptimize(first);
    benchmark::DoNotOptimize(best);
}

// The worker's side: its published lists and the lock a snapshot takes.
struct PublishedRun {
    std::mutex lock;
    SolutionList solutions;
    SolutionList population;

    SolutionList SnapshotSolutions() {
        std::lock_guard<std::mutex> g(lock);
        return solutions;
    }
    SolutionList SnapshotSolutionsFrom(std::size_t from) {
        std::lock_guard<std::mutex> g(lock);
        SolutionList tail;
        for (std::size_t i = from; i < solutions.Count(); ++i) tail.Append(solutions.At(i));
        return tail;
    }
    SolutionList SnapshotPopulation() {
        std::lock_guard<std::mutex> g(lock);
        return population;
    }
    bool IsFinished() const { return false; }
    std::uint64_t RunNumber() const { return 1; }
};

}  // namespace

static void BM_TimerTick(benchmark::State& state) {
    App();
    PublishedRun run;
    run.solutions = MakeList(static_cast<std::size_t>(state.range(0)));
    run.population = MakeList(500);  // the genetic algorithm's default population

    const SurfaceSampling samples = StartUpSurface();
    const MarkerAxes axes = AxesOver(samples);
    auto chart = std::make_unique<ChartModel>();

    ShownTable table;
    SolutionsTableModel& model = table.model;

    SolutionList runSolutions;
    SolutionList runPopulation;
    for (auto _ : state) {
        // Every tick takes the list whole, as the first tick of a run does.
        std::uint64_t solutionsRun = 0;
        PollRun(&run, false, runSolutions, runPopulation, solutionsRun);
        chart->SetData(samples.DisplayXMin, samples.DisplayXMax, samples.DisplayYMin,
                       samples.DisplayYMax, samples.HeightMin, samples.HeightMax, samples.Samples,
                       SolutionMarkers(runSolutions, axes), PopulationMarkers(runPopulation, axes));
        model.Refill(kNames, &runSolutions);
        MakeResultLabels(runSolutions);
        // The view lays itself out again and paints its visible rows.
        QApplication::processEvents();
    }
    state.counters["solutions"] = static_cast<double>(runSolutions.Count());
}
BENCHMARK(BM_TimerTick)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The copy the tick cannot avoid: one snapshot of the solution list.
static void BM_SolutionListCopy(benchmark::State& state) {
    PublishedRun run;
    run.solutions = MakeList(static_cast<std::size_t>(state.range(0)));
    SolutionList copy;
    for (auto _ : state) {
        copy = run.SnapshotSolutions();
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_SolutionListCopy)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A tick of a long local search (no population) as the window makes it on the Solutions page:
// the run has published state.range(0) solutions, of which the window already holds all but the
// few published since the last tick. follow = 0 makes the result labels from the whole list,
// follow = 1 follows the list with ResultLabels, reading only the new solutions.
static void BM_TimerTickFewNew(benchmark::State& state) {
    App();
    PublishedRun run;
    run.solutions = MakeList(static_cast<std::size_t>(state.range(0)));
    SolutionList more;  // five more steps, each published once per tick
    for (std::size_t i = 0; i < 5; ++i) more.Append(run.solutions.At(i));

    ShownTable table;
    SolutionsTableModel& model = table.model;

    SolutionList runSolutions;
    SolutionList runPopulation;
    std::uint64_t solutionsRun = 0;
    ListChange change = ListChange::None;
    PollRun(&run, false, runSolutions, runPopulation, solutionsRun, &change);
    model.Show(kNames, &runSolutions, change);
    const bool follow = state.range(1) != 0;
    ResultLabels labels;
    labels.Update(runSolutions, false);
    QApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        {
            std::lock_guard<std::mutex> g(run.lock);
            for (const SolutionView s : more) run.solutions.Append(s);
        }
        state.ResumeTiming();
        PollRun(&run, false, runSolutions, runPopulation, solutionsRun, &change);
        const int rowsBefore = model.rowCount();
        model.Show(kNames, &runSolutions, change);
        table.view.ShowRowsInsertedAtTop(model.rowCount() - rowsBefore);
        if (follow) {
            labels.Note(change);
            labels.Update(runSolutions, false);
            benchmark::DoNotOptimize(labels.OptimalText().data());
        } else {
            MakeResultLabels(runSolutions);
        }
        QApplication::processEvents();
    }
    state.counters["solutions"] = static_cast<double>(runSolutions.Count());
}
BENCHMARK(BM_TimerTickFewNew)
    ->ArgNames({"solutions", "follow"})
    ->Args({1000000, 0})
    ->Args({1000000, 1})
    ->Unit(benchmark::kMillisecond);

// The same late tick on the Chart page: the poll, the model given the samples, the markers of
// the new solutions and the population's markers.
static void BM_TimerTickChartFewNew(benchmark::State& state) {
    PublishedRun run;
    run.solutions = MakeList(static_cast<std::size_t>(state.range(0)));
    SolutionList more;
    for (std::size_t i = 0; i < 5; ++i) more.Append(run.solutions.At(i));

    const SurfaceSampling samples = StartUpSurface();
    const MarkerAxes axes = AxesOver(samples);
    auto chart = std::make_unique<ChartModel>();
    MarkerFeed feed;

    SolutionList runSolutions;
    SolutionList runPopulation;
    std::uint64_t solutionsRun = 0;
    auto tick = [&] {
        ListChange change = ListChange::None;
        PollRun(&run, false, runSolutions, runPopulation, solutionsRun, &change);
        feed.Note(change);
        chart->SetSurface(samples.DisplayXMin, samples.DisplayXMax, samples.DisplayYMin,
                          samples.DisplayYMax, samples.HeightMin, samples.HeightMax,
                          samples.Samples);
        feed.Update(runSolutions, axes, *chart);
        chart->SetPopulationPoints(PopulationMarkers(runPopulation, axes));
    };
    tick();
    for (auto _ : state) {
        state.PauseTiming();
        {
            std::lock_guard<std::mutex> g(run.lock);
            for (const SolutionView s : more) run.solutions.Append(s);
        }
        state.ResumeTiming();
        tick();
    }
    state.counters["solutions"] = static_cast<double>(runSolutions.Count());
    state.counters["markers"] = static_cast<double>(chart->SolutionPoints().size() / 3);
}
BENCHMARK(BM_TimerTickChartFewNew)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The result labels alone late in a long run, five new solutions a tick: made from the whole
// list (follow = 0) or followed with ResultLabels (follow = 1).
static void BM_ResultLabelsFewNew(benchmark::State& state) {
    SolutionList solutions = MakeList(static_cast<std::size_t>(state.range(0)));
    const SolutionList more = MakeList(5);
    const bool follow = state.range(1) != 0;
    ResultLabels labels;
    labels.Update(solutions, false);
    for (auto _ : state) {
        state.PauseTiming();
        for (const SolutionView s : more) solutions.Append(s);
        state.ResumeTiming();
        if (follow) {
            labels.Note(ListChange::Grown);
            labels.Update(solutions, false);
            benchmark::DoNotOptimize(labels.OptimalText().data());
        } else {
            MakeResultLabels(solutions);
        }
    }
}
BENCHMARK(BM_ResultLabelsFewNew)
    ->ArgNames({"solutions", "follow"})
    ->Args({1000000, 0})
    ->Args({1000000, 1})
    ->Unit(benchmark::kMicrosecond);
