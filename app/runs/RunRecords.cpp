#include "app/runs/RunRecords.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "algorithms/AlgorithmTable.h"
#include "app/tables/CsvTables.h"
#include "app/tables/RunTables.h"
#include "app/text/NumberText.h"
#include "app/text/RunTexts.h"
#include "model/Settings.h"

namespace quarmel {

RunRecord RecordRun(AlgorithmKind kind, const AlgParameters& params, const std::string& problem,
                    const std::string& problemFile, std::uint32_t seed,
                    const SolutionList& solutions, unsigned long long evaluations, double seconds,
                    bool stopped) {
    RunRecord r;
    r.Kind = kind;
    r.Settings = ChangedSettingsText(params, kind);
    r.Problem = problem;
    r.Series = SeriesFields(problemFile, problem, kind, params);
    r.Maximize = params.Maximize();
    r.Seed = seed;
    if (!solutions.Empty()) r.Best = solutions.Best(params.Maximize()).Value;
    r.Solutions = solutions.Count();
    r.Evaluations = evaluations;
    r.Seconds = seconds;
    r.Stopped = stopped;
    return r;
}

std::vector<std::string> RunCells(const RunRecord& r) {
    // The window's number texts, with the decimal comma; the CSV tables keep their ".".
    std::string seconds = SecondsText(r.Seconds);
    std::replace(seconds.begin(), seconds.end(), '.', ',');
    // An empty settings text would look like a missing value.
    return {AlgorithmName(r.Kind),
            r.Settings.empty() ? "start settings" : r.Settings,
            std::to_string(r.Seed),
            r.Best ? GeneralText(*r.Best, 9) : "none",
            std::to_string(r.Solutions),
            std::to_string(r.Evaluations),
            seconds};
}

std::string RunsCsv(const std::vector<RunRecord>& runs) {
    std::string out = RunsTableHeader(false);
    for (const RunRecord& r : runs) {
        RunOutcome run;
        run.Seed = r.Seed;
        run.Best = r.Best;
        run.Steps = r.Solutions;
        run.Evaluations = r.Evaluations;
        run.Undefined = r.Undefined;
        run.Seconds = r.Seconds;
        // Stop is the user cancelling the run, as Cancel is in an experiment.
        run.Ended = r.Stopped ? RunEnd::Cancelled : RunEnd::Finished;
        out += RunsTableRow(r.Series, run, std::nullopt, r.Known, r.Maximize);
    }
    return out;
}

std::string ElapsedText(double seconds) {
    const long long total =
        std::isfinite(seconds) && seconds > 0 ? static_cast<long long>(seconds) : 0;
    const long long h = total / 3600, m = total / 60 % 60, s = total % 60;
    char buf[64];
    if (h > 0) {
        std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", h, m, s);
    } else {
        std::snprintf(buf, sizeof buf, "%lld:%02lld", m, s);
    }
    return buf;
}

}  // namespace quarmel
