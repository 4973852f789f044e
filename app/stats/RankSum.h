#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace quarmel {

// The Mann-Whitney rank-sum test of two samples, as the usual statistics libraries compute it
// (two-sided, their automatic choice of method). Values are compared as numbers, so a caller
// maps a value that is not a number to the worst end first (infinity in the worse direction).

// Each value's rank among all of them, from 1; tied values share the mean of their ranks.
std::vector<double> AverageRanks(const std::vector<double>& values);

// How the p-value of a rank-sum test was found.
enum class RankSumMethod { Exact, Normal };

// When the exact distribution is used: unless both samples are larger than this, and only when
// no two values of the two samples together are equal.
constexpr std::size_t kExactRankSumBound = 8;

struct RankSumTest {
    // U of a: the pairs (x of a, y of b) with x > y, a tie counting half.
    double U = 0;
    double P = 1;  // two-sided
    RankSumMethod Method = RankSumMethod::Exact;
};

// The test of sample a against sample b; none when either is empty. Exact: twice the chance of
// a U at least as far from the middle as the larger of U and n_a n_b - U under the exact
// distribution of U (all orderings equally likely). Normal: the same tail of the normal
// approximation, its variance corrected for ties and the distance less a half (continuity).
// The p-value is at most 1.
std::optional<RankSumTest> MannWhitney(const std::vector<double>& a, const std::vector<double>& b);

// Holm's step-down correction of a family of p-values, in their order: the i-th smallest
// (from 0) multiplied by (m - i), never less than the corrected value before it, at most 1.
std::vector<double> HolmAdjusted(const std::vector<double>& p);

// Competition ranks ("1224"): one more than the number of values strictly better, so ties share
// the best rank of their group. Lower is better; a value that is not a number ranks last (with
// the others that are not).
std::vector<std::size_t> CompetitionRanks(const std::vector<double>& values);

}  // namespace quarmel
