// The Chart page's first complete frame after a huge file was opened, in the chart panel itself:
// from the page's tick that feeds the file's solutions to the chart until the frame with all
// their markers is shown (drawn, composed into the window and swapped), the surface having been
// shown before. feed_ms is the part spent before the frame is asked for. Needs an X display with
// OpenGL (xvfb-run -s "-screen 0 1920x1080x24").
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <cstdlib>

#include "app/chartpage/MarkerFeed.h"
#include "bench/HugeList.h"
#include "ui/chart/PanelChart.h"

using namespace quarmel;

namespace {

void BM_FirstFrameShown(benchmark::State& state) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        state.SkipWithError("no X display (run under xvfb-run)");
        return;
    }
    static int argc = 1;
    static char name[] = "quarmel_gap_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
    const SolutionList& solutions = HugeList(static_cast<std::size_t>(state.range(0)));
    double feedMs = 0.0, shownMs = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        PanelChart panel;
        panel.resize(1920, 1080);
        panel.show();
        SetUpSurface(panel.Chart());
        panel.SetChartReady(true);
        QEventLoop settle;
        QObject::connect(&panel, &PanelChart::frameSwapped, &settle, &QEventLoop::quit);
        panel.RedrawChart();
        settle.exec();
        state.ResumeTiming();

        QElapsedTimer clock;
        clock.start();
        MarkerFeed feed;
        feed.Update(solutions, ChosenAxes(), panel.Chart());
        feedMs += clock.nsecsElapsed() * 1e-6;
        QEventLoop shown;
        QObject::connect(&panel, &PanelChart::frameSwapped, &shown, &QEventLoop::quit);
        panel.NoteDataChanged();
        panel.RedrawChart();
        shown.exec();
        shownMs += clock.nsecsElapsed() * 1e-6;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["feed_ms"] = feedMs / n;
    state.counters["shown_ms"] = shownMs / n;
}

}  // namespace

BENCHMARK(BM_FirstFrameShown)
    ->ArgNames({"solutions"})
    ->Arg(kHugeSolutions)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
