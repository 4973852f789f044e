#include <benchmark/benchmark.h>

#include <string>

#include "app/datafile/DataFile.h"

using namespace quarmel;

namespace {

// A saved genetic run: three variables and a history of `count` solutions.
DataFileContents Saved(int count) {
    DataFileContents c;
    c.FunctionName = "Example 1";
    c.Formula = "x^2 + ( y - 2 ) ^ 2 + 3 * c ";
    c.Variables = {{"x", -50, 50, 0}, {"y", -40, 40, 6}, {"c", 1, 15, 5}};
    for (int i = 0; i < count; ++i) {
        c.Solutions.Append(Solution{{0.001f * i, -1.5f + i, 3.25f}, 1000.0f / (i + 1)});
    }
    return c;
}

}  // namespace

// Writing and reading cost per solution line: Save and Open of a long run.
static void BM_WriteDataFile(benchmark::State& state) {
    const DataFileContents c = Saved(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(DataFileText(c));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WriteDataFile)->Arg(1000)->Arg(100000);

static void BM_ReadDataFile(benchmark::State& state) {
    const std::string text = DataFileText(Saved(static_cast<int>(state.range(0))));
    for (auto _ : state) benchmark::DoNotOptimize(ReadDataText(text));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(text.size()));
}
BENCHMARK(BM_ReadDataFile)->Arg(1000)->Arg(100000);
