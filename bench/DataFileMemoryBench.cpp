#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/datafile/DataFile.h"
#include "app/datafile/OpenedProblem.h"
#include "bench/PeakMemory.h"
#include "chart/MarkerPoints.h"

using namespace quarmel;

// Peak memory of reading a large data file, as a multiple of the file's size: the window's Open
// (the file read whole, its solutions kept and turned into the chart's markers) and the batch
// runner's (the problem only). Each reading runs in a child process whose high-water mark is
// reset first, so the figure is what the reading itself adds, whatever ran before.

namespace {

// A file of one-variable solutions of about `bytes` bytes, written line by line.
std::string WriteSolutionsFile(std::size_t bytes) {
    const std::string path = "/tmp/quarmel-memory-bench-" + std::to_string(getpid()) + ".txt";
    const std::size_t lineBytes = 17;  // "-1.23456,1.52414\n"
    const std::size_t count = bytes / lineBytes;
    std::ofstream out(path);
    out << "# data file for Quarmel\n# Parabola \n\n# formula\nf=x^2\n\n"
           "# 1 for maximization, 0 for minimization\nmax=0 \n\n# number of variables\nvars=1 \n\n"
           "# variables: name, min, max, default\nx,-10,10,5\n\n# number of solutions\nsols="
        << count << "\n\n# solutions - comma-delimited values list for variables and value of "
        << "function (last)\n";
    char line[64];
    for (std::size_t i = 0; i < count; ++i) {
        const double x = -9.0 + static_cast<double>(i % 900001) * 2e-5;
        std::snprintf(line, sizeof line, "%.6g,%.6g\n", x, x * x);
        out << line;
    }
    return path;
}

void Report(benchmark::State& state, const std::string& path, std::size_t growth) {
    struct stat st;
    const std::size_t fileBytes = stat(path.c_str(), &st) == 0 ? st.st_size : 1;
    if (growth == 0) state.SkipWithError("the reading failed or its peak could not be read");
    state.counters["file_mb"] = static_cast<double>(fileBytes) / (1 << 20);
    state.counters["peak_mb"] = static_cast<double>(growth) / (1 << 20);
    state.counters["ratio"] = static_cast<double>(growth) / static_cast<double>(fileBytes);
}

void BM_OpenPeakMemory(benchmark::State& state) {
    const std::size_t bytes = static_cast<std::size_t>(state.range(0)) << 20;
    const std::string path = WriteSolutionsFile(bytes);
    std::size_t growth = 0;
    for (auto _ : state) {
        growth = PeakGrowth([&path] {
            const DataFileReading r = ReadDataFile(path);
            MarkerAxes axes;
            axes.DisplayXMin = -10;
            axes.DisplayXMax = 10;
            const std::vector<float> markers = SolutionMarkers(r.Solutions, axes);
            return r.Ok() && !markers.empty();
        });
    }
    Report(state, path, growth);
    std::remove(path.c_str());
}
BENCHMARK(BM_OpenPeakMemory)->Arg(64)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_BatchReadPeakMemory(benchmark::State& state) {
    const std::size_t bytes = static_cast<std::size_t>(state.range(0)) << 20;
    const std::string path = WriteSolutionsFile(bytes);
    std::size_t growth = 0;
    for (auto _ : state) {
        growth = PeakGrowth([&path] {
            Problem problem;
            return OpenProblem(path, problem).Ok();
        });
    }
    Report(state, path, growth);
    std::remove(path.c_str());
}
BENCHMARK(BM_BatchReadPeakMemory)->Arg(64)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
