#include "app/RunRecords.h"

#include <charconv>
#include <cmath>

#include "app/Convergence.h"
#include "app/NumberText.h"
#include "model/Settings.h"

namespace quarmel {

RunRecord RecordRun(AlgorithmKind kind, const AlgParameters& params, std::uint32_t seed,
                    const SolutionList& solutions, unsigned long long evaluations, double seconds) {
    RunRecord r;
    r.Kind = kind;
    r.Settings = ChangedSettingsText(params);
    r.Seed = seed;
    if (!solutions.Empty()) r.Best = solutions.Best(params.Maximize()).Value;
    r.Solutions = solutions.Count();
    r.Evaluations = evaluations;
    r.Seconds = seconds;
    return r;
}

std::vector<std::string> RunCells(const RunRecord& r) {
    char seconds[64];
    const auto end =
        std::to_chars(seconds, seconds + sizeof seconds, r.Seconds, std::chars_format::fixed, 3);
    return {AlgorithmName(r.Kind),        r.Settings,
            std::to_string(r.Seed),       r.Best ? PrintfG(*r.Best, 9) : "none",
            std::to_string(r.Solutions),  std::to_string(r.Evaluations),
            std::string(seconds, end.ptr)};
}

std::string RunsCsv(const std::vector<RunRecord>& runs) {
    std::string out = "algorithm,settings,seed,best,solutions,evaluations,seconds\n";
    for (const RunRecord& r : runs) {
        std::vector<std::string> cells = RunCells(r);
        cells[1] = "\"" + cells[1] + "\"";
        for (std::size_t i = 0; i < cells.size(); ++i) out += (i ? "," : "") + cells[i];
        out += "\n";
    }
    return out;
}

std::string ElapsedText(double seconds) {
    const long long total =
        std::isfinite(seconds) && seconds > 0 ? std::llround(std::floor(seconds)) : 0;
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
