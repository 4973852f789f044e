#include "app/stats/Verdicts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "app/runs/BatchRun.h"
#include "app/tables/CsvTables.h"

namespace quarmel {

namespace {

// The values as the test compares them: not a number as infinity in the worse direction.
std::vector<double> Comparable(const std::vector<float>& bests, bool maximize) {
    const double worst = maximize ? -std::numeric_limits<double>::infinity()
                                  : std::numeric_limits<double>::infinity();
    std::vector<double> values;
    for (float b : bests) values.push_back(std::isnan(b) ? worst : b);
    return values;
}

}  // namespace

std::vector<PairVerdict> ComparePairs(const std::vector<SeriesSample>& series, bool maximize) {
    std::vector<PairVerdict> pairs;
    std::vector<double> p;
    for (std::size_t a = 0; a < series.size(); ++a) {
        for (std::size_t b = a + 1; b < series.size(); ++b) {
            PairVerdict v;
            v.A = a;
            v.B = b;
            v.CountA = series[a].Bests.size();
            v.CountB = series[b].Bests.size();
            v.MedianA = Statistics(series[a].Bests, maximize).Median;
            v.MedianB = Statistics(series[b].Bests, maximize).Median;
            v.Test = MannWhitney(Comparable(series[a].Bests, maximize),
                                 Comparable(series[b].Bests, maximize));
            if (v.Test) p.push_back(v.Test->P);
            pairs.push_back(v);
        }
    }
    const std::vector<double> holm = HolmAdjusted(p);
    std::size_t tested = 0;
    for (PairVerdict& v : pairs) {
        if (!v.Test) continue;
        v.PHolm = holm[tested++];
        if (*v.PHolm < kVerdictLevel) {
            // U of a above the middle: a's values tend to be the greater.
            const bool aGreater = v.Test->U > v.CountA * v.CountB / 2.0;
            v.Better = aGreater == maximize ? 'a' : 'b';
        }
    }
    return pairs;
}

std::vector<std::optional<std::size_t>> MedianRanks(
    const std::vector<std::optional<double>>& medians, bool maximize) {
    std::vector<double> lowerBetter;
    for (const std::optional<double>& m : medians) {
        if (m) lowerBetter.push_back(maximize ? -*m : *m);
    }
    const std::vector<std::size_t> ranks = CompetitionRanks(lowerBetter);
    std::vector<std::optional<std::size_t>> out;
    std::size_t next = 0;
    for (const std::optional<double>& m : medians) {
        out.push_back(m ? std::optional<std::size_t>(ranks[next++]) : std::nullopt);
    }
    return out;
}

SeriesVerdicts JudgeSeries(const std::vector<SeriesSample>& series, bool maximize) {
    SeriesVerdicts v;
    std::vector<std::optional<double>> medians;
    for (const SeriesSample& s : series) medians.push_back(Statistics(s.Bests, maximize).Median);
    v.Ranks = MedianRanks(medians, maximize);
    v.Order.resize(series.size());
    std::iota(v.Order.begin(), v.Order.end(), 0);
    const std::size_t unranked = series.size() + 1;
    std::stable_sort(v.Order.begin(), v.Order.end(), [&](std::size_t x, std::size_t y) {
        return v.Ranks[x].value_or(unranked) < v.Ranks[y].value_or(unranked);
    });
    v.BetterThan.resize(series.size());
    std::vector<std::vector<std::size_t>>& better = v.BetterThan;
    for (const PairVerdict& p : ComparePairs(series, maximize)) {
        if (p.Better == 'a') better[p.A].push_back(p.B);
        if (p.Better == 'b') better[p.B].push_back(p.A);
    }
    for (std::vector<std::size_t>& b : better) std::sort(b.begin(), b.end());
    return v;
}

std::string PairsHeader() {
    return "problem,function,series_a,series_b,n_a,n_b,median_a,median_b,u,p,p_holm,better\n";
}

std::string PairRows(const std::string& problem, const std::string& function,
                     const std::vector<SeriesSample>& series, bool maximize) {
    std::string rows;
    for (const PairVerdict& v : ComparePairs(series, maximize)) {
        rows += CsvField(problem) + "," + CsvField(function) + "," + CsvField(series[v.A].Label) +
                "," + CsvField(series[v.B].Label) + "," + std::to_string(v.CountA) + "," +
                std::to_string(v.CountB) + "," + StatisticText(v.MedianA) + "," +
                StatisticText(v.MedianB) + "," +
                (v.Test ? DoubleText(v.Test->U) + "," + DoubleText(v.Test->P) : ",") + "," +
                OptionalText(v.PHolm) + "," + (v.Better ? std::string(1, v.Better) : "") + "\n";
    }
    return rows;
}

}  // namespace quarmel
