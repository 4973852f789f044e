// How long the window stops answering while the chart draws a long path: the chart panel turns a
// path of a million markers a little at every frame, asking for the frames at the ticks of a
// 10 ms timer as the window's progress timer does, while a second thread keeps the other
// processor busy. The longest gap between two ticks (max_gap_ms) is the longest the window kept
// input waiting; it should be no longer than a frame (frame_ms: the median time from the start
// of a frame's drawing until it is shown, gap_per_frame the ratio). The first frame after the
// markers were given is timed on its own (first_ms). Needs an X display with OpenGL (xvfb-run -s
// "-screen 0 1920x1080x24").
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <thread>
#include <vector>

#include "bench/WalkingPath.h"
#include "chart/Sampling.h"
#include "ui/chart/PanelChart.h"

using namespace quarmel;

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "quarmel_gap_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// The chart panel, timing each frame from the start of its drawing until it is shown (drawn,
// composed into the window and swapped).
class TimedPanel : public PanelChart {
  public:
    TimedPanel() {
        connect(this, &QOpenGLWidget::frameSwapped, this,
                [this] { FrameMs.push_back(clock_.nsecsElapsed() * 1e-6); });
    }
    std::vector<double> FrameMs;

  protected:
    void paintGL() override {
        clock_.start();
        PanelChart::paintGL();
    }

  private:
    QElapsedTimer clock_;
};

double Median(std::vector<double> v) {
    if (v.empty()) return 0.0;
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

// frames: how many frames to draw after the first; markers and the panel's size: the arguments.
void BM_FrameGaps(benchmark::State& state) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        state.SkipWithError("no X display (run under xvfb-run)");
        return;
    }
    App();
    const int markers = static_cast<int>(state.range(0));
    const int width = static_cast<int>(state.range(1)), height = static_cast<int>(state.range(2));
    constexpr int kFrames = 30;
    FunctionParser parser;
    AddSpiral(parser);
    parser.Parse("x^2+(y-2)^2+3*c", "x,y,c", false);
    const std::vector<VariableSpec> vars = {{"x", -50, 50, 0}, {"y", -40, 40, 6}, {"c", 1, 15, 5}};
    const SurfaceSampling s = SampleOverXY(parser, vars, 0, 1, -50, 50, -40, 40);
    const std::vector<float> path = WalkingPath(markers);

    double maxGap = 0.0, firstMs = 0.0, frameMs = 0.0;
    std::size_t ticks = 0;
    for (auto _ : state) {
        TimedPanel panel;
        panel.resize(width, height);
        int frame = 0;
        panel.SetFrameSource([&frame] {
            ChartFrame f;
            f.TurnAngle += 0.5f * static_cast<float>(frame);  // a chart being turned
            return f;
        });
        panel.show();
        // The surface alone first, so that the first frame timed is the first with the markers.
        panel.Chart().SetData(s.DisplayXMin, s.DisplayXMax, s.DisplayYMin, s.DisplayYMax,
                              s.HeightMin, s.HeightMax, s.Samples, {}, {});
        panel.SetChartReady(true);
        QEventLoop settle;
        QObject::connect(&panel, &PanelChart::frameSwapped, &settle, &QEventLoop::quit);
        panel.RedrawChart();
        settle.exec();

        std::atomic<bool> busy{true};
        std::thread other([&busy] {
            volatile unsigned long spin = 0;
            while (busy.load(std::memory_order_relaxed)) spin = spin + 1;
        });
        QElapsedTimer clock;
        clock.start();
        std::vector<double> tickAt;
        QTimer timer;
        timer.setTimerType(Qt::PreciseTimer);
        // The progress timer's redraw, as the window makes it during a run: a frame at a tick
        // unless one is waiting or the last took longer than the period.
        QObject::connect(&timer, &QTimer::timeout, [&] {
            tickAt.push_back(clock.nsecsElapsed() * 1e-6);
            panel.RedrawOnTick(10);
        });
        QEventLoop loop;
        QObject::connect(&panel, &PanelChart::frameSwapped, &loop, [&] {
            if (++frame > kFrames) loop.quit();
        });
        timer.start(10);
        panel.FrameMs.clear();
        panel.Chart().SetSolutionPoints(path);
        panel.NoteDataChanged();
        panel.RedrawChart();
        loop.exec();
        timer.stop();
        busy = false;
        other.join();

        for (std::size_t k = 1; k < tickAt.size(); ++k)
            maxGap = std::max(maxGap, tickAt[k] - tickAt[k - 1]);
        // The first frame with the markers, and the others.
        if (!panel.FrameMs.empty()) firstMs = panel.FrameMs.front();
        frameMs = Median(std::vector<double>(panel.FrameMs.begin() + 1, panel.FrameMs.end()));
        ticks = tickAt.size();
    }
    state.counters["max_gap_ms"] = maxGap;
    state.counters["frame_ms"] = frameMs;
    state.counters["first_ms"] = firstMs;
    state.counters["gap_per_frame"] = frameMs > 0.0 ? maxGap / frameMs : 0.0;
    state.counters["ticks"] = static_cast<double>(ticks);
}

}  // namespace

BENCHMARK(BM_FrameGaps)
    ->ArgNames({"markers", "w", "h"})
    ->Args({1000000, 1920, 1080})
    ->Args({1000000, 3840, 2160})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
