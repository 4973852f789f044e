#include "app/stats/RankSum.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace quarmel {

namespace {

// The orderings of two samples of sizes m and n give U = u in as many ways as there are
// partitions of u into at most m parts of at most n each: the coefficients of the Gaussian
// binomial [m+n over m], built as the product of (1 - q^(n+i)) / (1 - q^i) for i = 1..m, which
// costs O(m^2 n) with m the smaller size. Each step is exact in integers; long double keeps the
// rounding far below the p-values' printed digits.
std::vector<long double> UCounts(std::size_t m, std::size_t n) {
    if (m > n) std::swap(m, n);
    const std::size_t top = m * n;
    std::vector<long double> c(top + 1, 0.0L);
    c[0] = 1.0L;
    for (std::size_t i = 1; i <= m; ++i) {
        for (std::size_t k = top; k >= n + i && k <= top; --k) c[k] -= c[k - (n + i)];
        for (std::size_t k = i; k <= top; ++k) c[k] += c[k - i];
    }
    return c;
}

// The chance that U >= u under the exact distribution (symmetric about m n / 2).
double ExactUpperTail(std::size_t u, std::size_t m, std::size_t n) {
    const std::vector<long double> c = UCounts(m, n);
    const std::size_t top = m * n;
    long double tail = 0.0L, total = 0.0L;
    for (std::size_t k = 0; k <= top; ++k) {
        total += c[k];
        if (k >= u) tail += c[k];
    }
    return static_cast<double>(tail / total);
}

}  // namespace

std::vector<double> AverageRanks(const std::vector<double>& values) {
    std::vector<std::size_t> order(values.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t x, std::size_t y) { return values[x] < values[y]; });
    std::vector<double> ranks(values.size());
    for (std::size_t i = 0; i < order.size();) {
        std::size_t j = i + 1;
        while (j < order.size() && values[order[j]] == values[order[i]]) ++j;
        const double rank = (static_cast<double>(i + 1) + static_cast<double>(j)) / 2.0;
        for (std::size_t k = i; k < j; ++k) ranks[order[k]] = rank;
        i = j;
    }
    return ranks;
}

std::optional<RankSumTest> MannWhitney(const std::vector<double>& a, const std::vector<double>& b) {
    if (a.empty() || b.empty()) return std::nullopt;
    const double na = a.size(), nb = b.size(), n = na + nb;
    std::vector<double> all = a;
    all.insert(all.end(), b.begin(), b.end());
    const std::vector<double> ranks = AverageRanks(all);
    const double rankSumA = std::accumulate(ranks.begin(), ranks.begin() + a.size(), 0.0);
    RankSumTest t;
    t.U = rankSumA - na * (na + 1) / 2;
    const double far = std::max(t.U, na * nb - t.U);

    // Ties: groups of equal values, each adding t^3 - t.
    std::sort(all.begin(), all.end());
    double tieTerm = 0;
    for (std::size_t i = 0; i < all.size();) {
        std::size_t j = i + 1;
        while (j < all.size() && all[j] == all[i]) ++j;
        const double count = static_cast<double>(j - i);
        tieTerm += count * count * count - count;
        i = j;
    }
    const bool small = a.size() <= kExactRankSumBound || b.size() <= kExactRankSumBound;
    if (small && tieTerm == 0) {
        t.Method = RankSumMethod::Exact;
        t.P = 2 * ExactUpperTail(static_cast<std::size_t>(far), a.size(), b.size());
    } else {
        t.Method = RankSumMethod::Normal;
        const double s = std::sqrt(na * nb / 12 * ((n + 1) - tieTerm / (n * (n - 1))));
        const double z = (far - na * nb / 2 - 0.5) / s;
        t.P = std::erfc(z / std::sqrt(2.0));  // twice the normal upper tail
    }
    t.P = std::min(t.P, 1.0);
    return t;
}

std::vector<double> HolmAdjusted(const std::vector<double>& p) {
    std::vector<std::size_t> order(p.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t x, std::size_t y) { return p[x] < p[y]; });
    std::vector<double> adjusted(p.size());
    double floor = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        floor = std::min(1.0, std::max(floor, static_cast<double>(p.size() - i) * p[order[i]]));
        adjusted[order[i]] = floor;
    }
    return adjusted;
}

std::vector<std::size_t> CompetitionRanks(const std::vector<double>& values) {
    auto worse = [](double x, double y) {  // x ranks after y
        if (std::isnan(x)) return !std::isnan(y);
        return !std::isnan(y) && x > y;
    };
    std::vector<std::size_t> ranks(values.size(), 1);
    for (std::size_t i = 0; i < values.size(); ++i) {
        for (double other : values) ranks[i] += worse(values[i], other);
    }
    return ranks;
}

}  // namespace quarmel
