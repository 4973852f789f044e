#include "cli/RunsSummary.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <map>
#include <vector>

#include "algorithms/AlgorithmTable.h"
#include "app/plot/Convergence.h"
#include "app/runs/BatchRun.h"
#include "app/stats/Verdicts.h"
#include "app/tables/CsvTables.h"
#include "cli/BatchOptions.h"
#include "model/Settings.h"

namespace quarmel {

namespace {

// One record of CSV: fields split at commas outside quotes, a quoted field's doubled quotes
// read as one (a quoted field may hold line breaks). False at the end of the input.
bool ReadRecord(std::istream& in, std::vector<std::string>& fields) {
    fields.assign(1, "");
    bool quoted = false, any = false;
    for (char c; in.get(c);) {
        any = true;
        if (quoted) {
            if (c != '"') {
                fields.back() += c;
            } else if (in.peek() == '"') {
                fields.back() += static_cast<char>(in.get());
            } else {
                quoted = false;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c == '\n') {
            return true;
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    return any;
}

template <class T>
bool Parse(const std::string& text, T& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

// A best value as the table writes it: a number, nan, inf or -inf, or empty for none.
bool ParseBest(const std::string& text, std::optional<float>& best) {
    float v = 0;
    if (text.empty()) return true;
    if (text == "nan" || text == "inf" || text == "-inf") {
        best = std::stof(text);
        return true;
    }
    if (!Parse(text, v)) return false;
    best = v;
    return true;
}

// A run's evaluations to `target` from its row: the table's own count when the runs were made
// with that target; otherwise the run's best value decides that it did not reach it, and a run
// that did needs the evaluations to it, which only the long table holds. A table without its
// target column is taken at its word where its counts agree with the best values.
std::optional<unsigned long long> EvaluationsTo(double target, const RunOutcome& run, bool maximize,
                                                const std::string& madeWith, std::size_t line) {
    const bool reaches = run.Best && Reaches(*run.Best, target, maximize);
    double made = 0;
    const bool known = !madeWith.empty() && Parse(madeWith, made);
    if (known ? made == target : reaches == run.EvaluationsToTarget.has_value()) {
        return run.EvaluationsToTarget;
    }
    if (!reaches) return std::nullopt;
    throw BatchInputError("--summarize: line " + std::to_string(line) + ": the runs were made " +
                          (known ? "with --target " + madeWith : "with another --target") +
                          "; the evaluations to reach " + DoubleText(target) +
                          " are in their long table only");
}

// The label of a series as the plots give it, from its algorithm and setting columns (the
// settings a run of that algorithm reads and that differ from their start values).
std::string LabelOf(const std::vector<std::string>& names, const std::vector<std::string>& f,
                    std::size_t algorithm, std::size_t seed) {
    AlgParameters params;
    for (std::size_t i = algorithm + 1; i < seed; ++i) {
        double value = 0;
        if (const SettingSpec* s = FindSetting(names[i]); s && Parse(f[i], value)) {
            s->Store(params, value);
        }
    }
    if (const int kind = FindAlgorithm(f[algorithm]); kind >= 0) {
        const AlgorithmKind k = KindAt(static_cast<std::size_t>(kind));
        return SeriesLabel(k, ChangedSettingsText(params, k));
    }
    const std::string changed = ChangedSettingsText(params);
    return changed.empty() ? f[algorithm] : f[algorithm] + " " + changed;
}

struct Series {
    SeriesSummary Summary;
    std::size_t Problem;  // index into the problems
    std::string Label;
    std::optional<double> Target;  // the runs' own target (--target optimum)
};

// The runs of one problem: the problem columns (problem, function, direction, dimension).
struct ProblemOfRuns {
    std::string File, Function;
    bool Maximize;
    std::vector<std::size_t> Series;  // in the order they first appear
};

}  // namespace

std::string SummarizeRuns(std::istream& table, const std::optional<double>& target, bool header,
                          bool pairs, bool ownTargets) {
    std::vector<std::string> names;
    if (!ReadRecord(table, names) || names.size() < 2 || names[0] != "problem") {
        throw BatchInputError("--summarize needs a runs table with its header (--format runs)");
    }
    auto column = [&names](const std::string& name) -> std::size_t {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (names[i] == name) return i;
        }
        throw BatchInputError("--summarize: the table has no column '" + name + "'");
    };
    const std::size_t seed = column("seed"), best = column("best"),
                      evaluations = column("evaluations"), seconds = column("seconds"),
                      direction = column("direction"), function = column("function"),
                      dimension = column("dimension"), algorithm = column("algorithm");
    std::optional<std::size_t> toTarget;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == "evaluations_to_target") toTarget = i;
    }
    // The pairs compare final best values: a target changes nothing there.
    if (toTarget && !target && !ownTargets && !pairs) {
        throw BatchInputError(
            "--summarize: the table has evaluations_to_target; give the runs' --target");
    }
    if (!toTarget && (target || ownTargets)) {
        throw BatchInputError("--summarize: the table was made without --target");
    }
    if (std::max({function, direction, dimension, algorithm}) >= seed) {
        throw BatchInputError("--summarize: the series columns come before 'seed'");
    }
    std::optional<std::size_t> madeWith;  // the target the runs were made with
    if (const auto at = std::find(names.begin(), names.end(), "target"); at != names.end()) {
        madeWith = static_cast<std::size_t>(at - names.begin());
    }
    if (ownTargets && !madeWith && !pairs) {
        throw BatchInputError(
            "--summarize: --target optimum reads the table's target column, which it lacks; give "
            "the runs' --target as a number");
    }

    std::vector<Series> series;
    std::vector<ProblemOfRuns> problems;
    std::map<std::string, std::size_t> index, problemIndex;
    std::vector<std::string> f;
    for (std::size_t line = 2; ReadRecord(table, f); ++line) {
        RunOutcome run;
        const bool ok = f.size() == names.size() && ParseBest(f[best], run.Best) &&
                        Parse(f[evaluations], run.Evaluations) && Parse(f[seconds], run.Seconds) &&
                        (f[direction] == "min" || f[direction] == "max") &&
                        (!toTarget || f[*toTarget].empty() ||
                         Parse(f[*toTarget], run.EvaluationsToTarget.emplace()));
        if (!ok) {
            throw BatchInputError("--summarize: line " + std::to_string(line) +
                                  " is not a row of this runs table");
        }
        // With their own targets (--target optimum), a series' runs share their problem's.
        std::optional<double> own;
        if (ownTargets && madeWith && !pairs) {
            double value = 0;
            if (!Parse(f[*madeWith], value)) {
                throw BatchInputError("--summarize: line " + std::to_string(line) +
                                      " has no target: its runs were made without --target");
            }
            own = value;
        }
        if (target) {
            run.EvaluationsToTarget = EvaluationsTo(*target, run, f[direction] == "max",
                                                    madeWith ? f[*madeWith] : "", line);
        }
        std::string fields;
        for (std::size_t i = 0; i < seed; ++i) fields += (i ? "," : "") + CsvField(f[i]);
        const auto [at, added] = index.emplace(fields, series.size());
        if (added) {
            const std::string key = CsvField(f[0]) + "," + CsvField(f[function]) + "," +
                                    f[direction] + "," + f[dimension];
            const auto [p, newProblem] = problemIndex.emplace(key, problems.size());
            if (newProblem) problems.push_back({f[0], f[function], f[direction] == "max", {}});
            problems[p->second].Series.push_back(series.size());
            series.push_back(
                {SeriesSummary(fields), p->second, LabelOf(names, f, algorithm, seed), own});
        } else if (series[at->second].Target != own) {
            throw BatchInputError("--summarize: line " + std::to_string(line) +
                                  ": its target differs from its series' first run's");
        }
        series[at->second].Summary.Add(run);
    }
    if (pairs) {
        std::string out = header ? PairsHeader() : "";
        for (const ProblemOfRuns& p : problems) {
            std::vector<SeriesSample> samples;
            for (std::size_t s : p.Series) {
                samples.push_back({series[s].Label, series[s].Summary.Bests()});
            }
            out += PairRows(p.File, p.Function, samples, p.Maximize);
        }
        return out;
    }
    std::vector<std::optional<std::size_t>> ranks(series.size());
    for (const ProblemOfRuns& p : problems) {
        std::vector<std::optional<double>> medians;
        for (std::size_t s : p.Series) medians.push_back(series[s].Summary.Median(p.Maximize));
        const std::vector<std::optional<std::size_t>> r = MedianRanks(medians, p.Maximize);
        for (std::size_t i = 0; i < r.size(); ++i) ranks[p.Series[i]] = r[i];
    }
    std::string out = header ? SeriesSummary::Header(target || ownTargets) : "";
    for (std::size_t s = 0; s < series.size(); ++s) {
        out += series[s].Summary.Row(problems[series[s].Problem].Maximize,
                                     ownTargets ? series[s].Target : target, ranks[s]);
    }
    return out;
}

std::string SummarizeRunsFile(const std::string& path, const std::optional<double>& target,
                              bool header, bool pairs, bool ownTargets) {
    std::ifstream table(path, std::ios::binary);
    if (!table) throw BatchInputError("cannot read '" + path + "': " + std::strerror(errno));
    return SummarizeRuns(table, target, header, pairs, ownTargets);
}

}  // namespace quarmel
