#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace quarmel {

// What the expected running time reads of one run: whether it reached the target and its
// evaluations (up to the target when it did, all of them when not).
struct RunReach {
    bool Reached = false;
    unsigned long long Evaluations = 0;
};

// The bootstrap's draw count and its own fixed seed, so that a summary repeats.
constexpr std::size_t kErtResamples = 1000;
constexpr std::uint64_t kErtBootstrapSeed = 20250611;

// A 10-90 % bootstrap interval of the expected running time: the runs are drawn with
// replacement kErtResamples times (std::mt19937_64 from kErtBootstrapSeed, an index by
// rejection of the generator's uneven top), each draw's ERT computed as the series' is (all its
// evaluations over its reaching runs; infinite when none of the draw reached), and the bounds
// are the 0.1 and 0.9 quantiles of those by Quantile's rule (linear between order statistics).
// A bound among infinite draws is infinite. None when no run reached the target.
struct ErtInterval {
    double Low = 0;
    double High = 0;
};
std::optional<ErtInterval> BootstrapErt(const std::vector<RunReach>& runs);

}  // namespace quarmel
