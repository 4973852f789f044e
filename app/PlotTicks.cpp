#include "app/PlotTicks.h"

#include <cmath>

namespace quarmel {

std::vector<double> NiceTicks(double lo, double hi, int most) {
    if (!std::isfinite(lo) || !std::isfinite(hi) || most < 1) return {};
    if (lo > hi) std::swap(lo, hi);
    if (lo == hi) return {lo};
    const double span = hi - lo;
    double power = std::pow(10.0, std::floor(std::log10(span / most)));
    for (;; power *= 10) {
        for (double m : {1.0, 2.0, 5.0}) {
            const double step = m * power;
            const double first = std::ceil(lo / step), last = std::floor(hi / step);
            if (last - first + 1 > most) continue;
            std::vector<double> ticks;
            // Multiples computed from their index, so that no error adds up along the axis.
            for (double k = first; k <= last; ++k) ticks.push_back(k * step);
            return ticks;
        }
    }
}

std::vector<double> LogTicks(double lo, double hi, int most) {
    if (!(lo > 0) || !std::isfinite(hi) || most < 1) return {};
    if (lo > hi) std::swap(lo, hi);
    const int first = static_cast<int>(std::floor(std::log10(lo)));
    const int last = static_cast<int>(std::ceil(std::log10(hi)));
    // Each tick from its decade's exponent, so that no error adds up along the axis.
    const auto inside = [&](const std::vector<double>& multiples, int every) {
        std::vector<double> ticks;
        for (int d = first; d <= last; ++d) {
            if (d % every != 0) continue;
            for (double m : multiples) {
                const double t = m * std::pow(10.0, d);
                if (t >= lo && t <= hi) ticks.push_back(t);
            }
        }
        return ticks;
    };
    std::vector<double> ticks = inside({1, 2, 5}, 1);
    for (int every : {1, 2, 5, 10, 20, 50, 100}) {
        if (static_cast<int>(ticks.size()) <= most) break;
        ticks = inside({1}, every);
    }
    return ticks;
}

std::vector<double> DecadeTicks(double last) {
    std::vector<double> ticks{1.0};
    for (double t = 10.0; t <= last; t *= 10.0) ticks.push_back(t);
    return ticks;
}

}  // namespace quarmel
