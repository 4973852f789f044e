#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/stats/RankSum.h"

namespace quarmel {

// Whether the series of one problem differ by more than the luck of the seeds: every pair of
// series tested on the runs' final best values, and the series ranked by their median. The batch
// runner's pairs table and summary and the experiment window read them from here.

// One series of a problem: its label (the algorithm and its changed settings, as the plots label
// a run) and its runs' final best values (runs without a step left out).
struct SeriesSample {
    std::string Label;
    std::vector<float> Bests;
};

// The significance level of `better`, on the Holm-corrected p-value.
constexpr double kVerdictLevel = 0.05;

// One pair of series a (the earlier) and b. A value that is not a number counts as the worst.
struct PairVerdict {
    std::size_t A = 0, B = 0;  // the series' indices
    std::size_t CountA = 0, CountB = 0;
    std::optional<double> MedianA, MedianB;  // as the summary's median
    std::optional<RankSumTest> Test;         // none when a series has no value
    std::optional<double> PHolm;             // over the tested pairs of the problem
    char Better = 0;                         // 'a', 'b', or 0 when not significant
};

// Every pair of the series of one problem in order (0-1, 0-2, ..., 1-2, ...): the rank-sum test
// of a against b, Holm's correction over the pairs tested, and which is better where the
// corrected p-value is below kVerdictLevel (the one whose values tend to be better in the
// problem's direction, by U).
std::vector<PairVerdict> ComparePairs(const std::vector<SeriesSample>& series, bool maximize);

// The series' ranks by median final best in the problem's direction, better first, ties sharing
// the best rank of their group ("1224"); a median that is not a number ranks last; none for a
// series without a value.
std::vector<std::optional<std::size_t>> MedianRanks(
    const std::vector<std::optional<double>>& medians, bool maximize);

// The verdicts of a problem's series together, as the experiment window shows them: each
// series' rank (MedianRanks of the summary's medians), the series in rank order (equal ranks,
// and the unranked last, in their given order), and for each series the series it is
// significantly better than (ComparePairs), in their given order.
struct SeriesVerdicts {
    std::vector<std::optional<std::size_t>> Ranks;
    std::vector<std::size_t> Order;
    std::vector<std::vector<std::size_t>> BetterThan;
};
SeriesVerdicts JudgeSeries(const std::vector<SeriesSample>& series, bool maximize);

// The pairs table: problem, function, series_a, series_b, n_a, n_b, median_a, median_b, u, p,
// p_holm, better; a row per pair, numbers as the summary prints them, empty where none.
std::string PairsHeader();
std::string PairRows(const std::string& problem, const std::string& function,
                     const std::vector<SeriesSample>& series, bool maximize);

}  // namespace quarmel
