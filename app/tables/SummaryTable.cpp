#include "app/tables/SummaryTable.h"

#include <algorithm>
#include <cmath>

#include "app/stats/Verdicts.h"
#include "app/tables/CsvTables.h"
#include "app/text/NumberText.h"

namespace quarmel {

void SeriesSummary::Add(const RunOutcome& run) {
    seconds_ += run.Seconds;
    if (run.Best) bests_.push_back(*run.Best);
    target_.Add(run);
    reaches_.push_back(
        {run.EvaluationsToTarget.has_value(), run.EvaluationsToTarget.value_or(run.Evaluations)});
}

std::string SeriesSummary::Header(bool target) {
    return SeriesHeader() + ",runs,best,median,worst,mean,sd,seconds" +
           (target ? ",target,reached,ert,rank,ert_lo,ert_hi\n" : ",rank\n");
}

std::string SeriesSummary::Row(bool maximize, std::optional<double> target,
                               std::optional<std::size_t> rank) const {
    const RunStatistics s = Statistics(bests_, maximize);
    const auto stat = StatisticText;
    std::string row = fields_ + "," + std::to_string(target_.Runs) + "," + stat(s.Best) + "," +
                      stat(s.Median) + "," + stat(s.Worst) + "," + stat(s.Mean) + "," +
                      stat(s.Deviation) + "," + DoubleText(std::round(seconds_ * 1e6) / 1e6);
    if (target) {
        const std::optional<double> ert = target_.ExpectedRunningTime();
        row += "," + DoubleText(*target) + "," + DoubleText(target_.ReachedShare()) + "," +
               (ert ? DoubleText(*ert) : std::string());
    }
    row += "," + (rank ? std::to_string(*rank) : std::string());
    if (target) {
        const std::optional<ErtInterval> band = BootstrapErt(reaches_);
        row += band ? "," + DoubleText(band->Low) + "," + DoubleText(band->High) : ",,";
    }
    return row + "\n";
}

std::string SummaryRows(const std::vector<const SeriesSummary*>& series, bool maximize,
                        std::optional<double> target) {
    std::vector<std::optional<double>> medians;
    for (const SeriesSummary* s : series) medians.push_back(s->Median(maximize));
    const std::vector<std::optional<std::size_t>> ranks = MedianRanks(medians, maximize);
    std::string rows;
    for (std::size_t i = 0; i < series.size(); ++i) {
        rows += series[i]->Row(maximize, target, ranks[i]);
    }
    return rows;
}

}  // namespace quarmel
