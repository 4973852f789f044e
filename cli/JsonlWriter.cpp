// --format jsonl: one JSON object a line per run, with the same fields as the runs table (the
// settings as one object) and the program's version and command.
#include <cmath>

#include "algorithms/AlgorithmTable.h"
#include "app/examples/OptimumGap.h"
#include "app/tables/CsvTables.h"
#include "cli/BatchPlan.h"
#include "cli/BatchWriter.h"
#include "cli/JsonText.h"

namespace quarmel {

namespace {

// A number as JSON: not a number and the infinities have no JSON form.
std::string JsonNumber(const std::string& text) {
    return text == "nan" || text == "inf" || text == "-inf" ? "null" : text;
}

class JsonlWriter : public BatchWriter {
  public:
    JsonlWriter(const BatchPlan& plan, BatchPrint print)
        : BatchWriter(plan, std::move(print)), program_(VersionAndCommandJson(plan)) {
        const std::vector<std::string> names = SettingColumns();
        for (const PlannedSeries& s : plan.Series) {
            const PlannedProblem& p = plan.Problems[s.Problem];
            std::string json = "{\"problem\":" + JsonString(p.File) +
                               ",\"function\":" + JsonString(TableName(p.Opened.FunctionName)) +
                               ",\"direction\":\"" + (s.Params->Maximize() ? "max" : "min") +
                               "\",\"dimension\":" + std::to_string(s.Params->Variables().size()) +
                               ",\"algorithm\":\"" + AlgorithmName(plan.Algorithm) +
                               "\",\"settings\":{";
            const std::vector<std::string> values = SettingValues(*s.Params);
            for (std::size_t i = 0; i < names.size(); ++i) {
                json += (i ? ",\"" : "\"") + names[i] + "\":" + values[i];
            }
            series_.push_back(json + "}");
        }
    }

    void Run(const RunOutcome& run, std::size_t series) override {
        std::string json = series_[series] + ",\"seed\":" + std::to_string(run.Seed) +
                           ",\"best\":" + (run.Best ? JsonNumber(FloatText(*run.Best)) : "null") +
                           ",\"evaluations\":" + std::to_string(run.Evaluations) +
                           ",\"solutions\":" + std::to_string(run.Steps) +
                           ",\"seconds\":" + OptionalText(std::round(run.Seconds * 1e6) / 1e6) +
                           ",\"ended\":\"" + RunEndName(run.Ended) + "\"";
        if (plan_.Targeted) {
            json += ",\"evaluations_to_target\":" +
                    (run.EvaluationsToTarget ? std::to_string(*run.EvaluationsToTarget) : "null");
        }
        const std::optional<float> gap = GapToOptimum(run.Best, plan_.ProblemOf(series).Known,
                                                      plan_.Series[series].Params->Maximize());
        json += ",\"gap\":" + (gap ? JsonNumber(FloatText(*gap)) : "null") +
                ",\"undefined\":" + std::to_string(run.Undefined);
        print_(json + "," + program_ + "}\n");
    }

  private:
    std::vector<std::string> series_;  // each series' fields up to the settings
    std::string program_;
};

}  // namespace

std::unique_ptr<BatchWriter> MakeJsonlWriter(const BatchPlan& plan, BatchPrint print) {
    return std::make_unique<JsonlWriter>(plan, std::move(print));
}

}  // namespace quarmel
