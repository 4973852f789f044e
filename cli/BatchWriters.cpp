// The table of output formats: a new format is its writer's file and one row here (its name,
// its maker and what --help says of it).
#include "app/stats/RankSum.h"
#include "cli/BatchPlan.h"
#include "cli/BatchWriter.h"

namespace quarmel {

// Each writer's file defines its maker.
std::unique_ptr<BatchWriter> MakeSolutionsWriter(const BatchPlan& plan, BatchPrint print);
std::unique_ptr<BatchWriter> MakeRunsWriter(const BatchPlan& plan, BatchPrint print);
std::unique_ptr<BatchWriter> MakeSummaryWriter(const BatchPlan& plan, BatchPrint print);
std::unique_ptr<BatchWriter> MakeLongWriter(const BatchPlan& plan, BatchPrint print);
std::unique_ptr<BatchWriter> MakeJsonlWriter(const BatchPlan& plan, BatchPrint print);
std::unique_ptr<BatchWriter> MakeIohWriter(const BatchPlan& plan, BatchPrint print);
std::unique_ptr<BatchWriter> MakePairsWriter(const BatchPlan& plan, BatchPrint print);

namespace {

// csv is a single run's solutions, or with --runs, --grid or several problems the runs table.
std::unique_ptr<BatchWriter> MakeCsvWriter(const BatchPlan& plan, BatchPrint print) {
    return plan.RunsTable ? MakeRunsWriter(plan, std::move(print))
                          : MakeSolutionsWriter(plan, std::move(print));
}

struct NamedWriter {
    const char* Name;
    const char* Label;  // the name as --help shows it, with the format's argument
    BatchWriterFactory Make;
    std::string (*Help)();
};

const NamedWriter kWriters[] = {
    {"csv", "csv", MakeCsvWriter,
     [] { return std::string("one run: its path, a column per variable and F; else as runs"); }},
    {"runs", "runs", MakeRunsWriter,
     [] {
         return std::string(
             "a row per run: problem (the file as given), function, direction (min|max), "
             "dimension, algorithm, a column per setting with its value, seed, best, "
             "evaluations, solutions (steps published), seconds (the run's processor "
             "time), ended (finished|stopped-by-budget), with --target "
             "evaluations_to_target (empty when not reached), gap (best minus the known "
             "optimum in the problem's direction; empty when none is known), undefined (the "
             "evaluations where the formula is undefined, each counted as 0)");
     }},
    {"summary", "summary", MakeSummaryWriter,
     [] {
         return std::string(
             "a row per series (problem and settings): the series columns, runs, best, "
             "median, worst, mean, sd, seconds (all runs'), with --target the target, "
             "reached (the share of runs reaching it) and ert (evaluations of all runs, up "
             "to the target where reached, over the runs reaching it; empty for none); then "
             "rank (by median within the problem, better first, ties sharing the best "
             "rank: 1,2,2,4), with --target ert_lo and ert_hi (the 0.1 and 0.9 quantiles, "
             "linear between order statistics, of the ERT of 1000 resamples of the runs "
             "with a fixed seed; inf where too many resamples reach nothing)");
     }},
    {"long", "long", MakeLongWriter,
     [] {
         return std::string(
             "a row per published step: the series columns, seed, step, evaluations (made "
             "up to the step), value, best_so_far");
     }},
    {"jsonl", "jsonl", MakeJsonlWriter,
     [] {
         return std::string(
             "an object a line per run: the runs columns (settings as an object), version "
             "and command");
     }},
    {"ioh", "ioh DIR", MakeIohWriter,
     [] {
         return std::string(
             "IOHprofiler .info and .dat files in DIR (new or empty), a folder per "
             "algorithm and settings; the version and command in each .info comment; "
             "funcId a hash of the function's name, formula, direction and ranges, the same "
             "in every call");
     }},
    {"pairs", "pairs", MakePairsWriter,
     [] {
         return std::string(
             "a row per pair of series of a problem: problem, function, series_a, series_b "
             "(algorithm and changed settings), n_a, n_b, median_a, median_b, u "
             "(Mann-Whitney U of a's final bests; not a number counts as the worst), p "
             "(two-sided: exact when a sample has at most " +
             std::to_string(kExactRankSumBound) +
             " runs and no two values are equal, else normal with tie and continuity "
             "correction), p_holm (Holm over the problem's pairs), better (a or b where "
             "p_holm < 0.05, else empty)");
     }},
};

}  // namespace

std::vector<std::string> BatchFormatNames() {
    std::vector<std::string> names;
    for (const NamedWriter& w : kWriters) names.emplace_back(w.Name);
    return names;
}

std::vector<BatchFormatHelp> BatchFormatsHelp() {
    std::vector<BatchFormatHelp> help;
    for (const NamedWriter& w : kWriters) help.push_back({w.Label, w.Help()});
    return help;
}

BatchWriterFactory FindBatchWriter(const std::string& name) {
    for (const NamedWriter& w : kWriters) {
        if (name == w.Name) return w.Make;
    }
    return nullptr;
}

}  // namespace quarmel
