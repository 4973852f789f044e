#include "app/experiment/ExperimentSetup.h"

#include <cmath>

#include "app/datafile/OpenedProblem.h"
#include "app/examples/ExampleFolder.h"
#include "app/examples/OptimumGap.h"
#include "app/examples/ProblemIdentity.h"
#include "app/tables/CsvTables.h"
#include "app/tables/RunTables.h"
#include "app/text/NumberText.h"
#include "app/text/RunTexts.h"
#include "model/Improvement.h"

namespace quarmel {

namespace {

bool Blank(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

}  // namespace

ExperimentReading ReadExperimentTexts(const ExperimentTexts& texts) {
    ExperimentReading r;
    ExperimentSetup& s = r.Setup;
    s.Algorithms = texts.Algorithms;
    if (s.Algorithms.empty()) {
        r.Refusal = "Choose at least one algorithm.";
        return r;
    }
    const int seeds = TextToInt(texts.Seeds);
    if (seeds < 1) {
        r.Refusal = "The number of seeds must be at least 1.";
        return r;
    }
    s.Seeds = static_cast<std::size_t>(seeds);
    const SeedChoice first = ChooseSeed(true, texts.FirstSeed, 0);
    if (!first.Refusal.empty()) {
        r.Refusal = "First seed " + SeedRefusal(texts.FirstSeed) + ".";
        return r;
    }
    s.FirstSeed = first.Seed;
    if (!Blank(texts.Evaluations)) {
        const double evaluations = TextToFloat(texts.Evaluations);
        if (!(evaluations >= 1) || evaluations != std::floor(evaluations) || evaluations > 1e18) {
            r.Refusal = "The evaluations must be a whole number of at least 1, or blank for none.";
            return r;
        }
        s.MaxEvaluations = static_cast<unsigned long long>(evaluations);
    }
    if (!Blank(texts.Seconds)) {
        const double seconds = TextToFloat(texts.Seconds);
        if (!(seconds > 0) || !std::isfinite(seconds)) {
            r.Refusal = "The seconds must be more than 0, or blank for none.";
            return r;
        }
        s.MaxSeconds = seconds;
    }
    if (!Blank(texts.Target)) {
        s.Target = TextToFloat(texts.Target);
        if (!std::isfinite(*s.Target)) {
            r.Refusal = "The target must be a finite number, or blank for none.";
            return r;
        }
    }
    return r;
}

std::string ProblemFileColumn(const std::string& path, const Problem& current,
                              const std::string& functionName) {
    if (path.empty()) return {};
    AlgParameters opened;
    const OpenedProblem file = OpenProblem(path, opened);
    // The function's name too: the table names the function as the file does.
    const bool same =
        file.Ok() && file.FunctionName == functionName && SameProblem(opened, current);
    return same ? path : std::string();
}

std::optional<double> DefaultTarget(const std::optional<ExampleProblem>& known,
                                    const std::vector<std::optional<float>>& keptBests,
                                    bool maximize) {
    if (known) return OptimumTarget(known->Optimum, maximize);
    std::optional<float> best;
    for (const std::optional<float>& b : keptBests) {
        // Not a number is never a target: it improves on nothing.
        if (b && (best ? Improves(*best, *b, maximize) : !std::isnan(*b))) best = *b;
    }
    return best;
}

ExperimentPlan::ExperimentPlan(const ExperimentSetup& setup, const AlgParameters& params,
                               const std::string& problemFile, const std::string& functionName)
    : setup_(setup), params_(std::make_unique<AlgParameters>(params)) {
    if (!problemFile.empty()) known_ = KnownExampleFor(problemFile, "", *params_);
    for (AlgorithmKind kind : setup_.Algorithms) {
        fields_.push_back(SeriesFields(problemFile, functionName, kind, *params_));
        for (std::size_t s = 0; s < setup_.Seeds; ++s) {
            ExperimentRun run;
            run.Algorithm = kind;
            run.Params = params_.get();
            run.Seed = setup_.FirstSeed + static_cast<std::uint32_t>(s);
            run.Limits.MaxEvaluations = setup_.MaxEvaluations;
            run.Limits.MaxSeconds = setup_.MaxSeconds;
            run.Limits.Target = setup_.Target;
            run.Limits.KeepTrace = true;
            runs_.push_back(run);
        }
    }
}

std::string ExperimentPlan::RunsCsv(const std::vector<RunOutcome>& outcomes) const {
    const bool target = setup_.Target.has_value();
    std::string csv = RunsTableHeader(target);
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        csv += RunsTableRow(fields_[SeriesOf(i)], outcomes[i], setup_.Target, known_, Maximize());
    }
    return csv;
}

std::string ExperimentPlan::LongCsv(const std::vector<RunOutcome>& outcomes) const {
    std::string csv = LongTableHeader();
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        csv += LongTableRows(fields_[SeriesOf(i)], outcomes[i]);
    }
    return csv;
}

std::vector<std::vector<RunOutcome>> ExperimentPlan::ByAlgorithm(
    const std::vector<RunOutcome>& outcomes) const {
    std::vector<std::vector<RunOutcome>> groups(setup_.Algorithms.size());
    for (std::size_t i = 0; i < outcomes.size(); ++i) groups[SeriesOf(i)].push_back(outcomes[i]);
    return groups;
}

}  // namespace quarmel
