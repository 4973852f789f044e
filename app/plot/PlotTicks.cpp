#include "app/plot/PlotTicks.h"

#include <algorithm>
#include <cmath>

#include "app/text/NumberText.h"

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

std::vector<std::string> TickLabels(const std::vector<double>& ticks) {
    bool plain = true;
    for (double t : ticks) {
        const double size = std::fabs(t);
        if (size != 0 && (size < 1e-4 || size >= 1e6)) plain = false;
    }
    std::vector<std::string> labels;
    for (double t : ticks) {
        if (plain || t == 0 || !std::isfinite(t)) {
            // 12 digits drop the noise of a step times its index (0,30000000000000004).
            labels.push_back(GeneralText(t, 12));
            continue;
        }
        int exponent = static_cast<int>(std::floor(std::log10(std::fabs(t))));
        double mantissa = t / std::pow(10.0, exponent);
        // A mantissa that rounds up to 10 moves to the next power.
        if (std::fabs(std::round(mantissa * 100) / 100) >= 10) {
            ++exponent;
            mantissa /= 10;
        }
        labels.push_back(GeneralText(mantissa, 3) + "E" + std::to_string(exponent));
    }
    return labels;
}

std::vector<double> SymmetricLogTicks(double lo, double hi, double linear, int most) {
    if (!std::isfinite(lo) || !std::isfinite(hi) || !(linear > 0) || most < 1) return {};
    if (lo > hi) std::swap(lo, hi);
    const int first = static_cast<int>(std::floor(std::log10(linear)));
    const double reach = std::max(std::fabs(lo), std::fabs(hi));
    const int last = std::max(first, static_cast<int>(std::ceil(std::log10(reach))));
    std::vector<double> ticks;
    for (int every : {1, 2, 5, 10, 20, 50, 100}) {
        ticks.clear();
        for (int d = last; d >= first; --d) {
            if ((d - first) % every == 0 && -std::pow(10.0, d) >= lo)
                ticks.push_back(-std::pow(10.0, d));
        }
        if (lo <= 0 && hi >= 0) ticks.push_back(0.0);
        for (int d = first; d <= last; ++d) {
            if ((d - first) % every == 0 && std::pow(10.0, d) <= hi)
                ticks.push_back(std::pow(10.0, d));
        }
        if (static_cast<int>(ticks.size()) <= most) break;
    }
    return ticks;
}

std::vector<double> DecadeTicks(double last) {
    std::vector<double> ticks{1.0};
    for (double t = 10.0; t <= last; t *= 10.0) ticks.push_back(t);
    return ticks;
}

}  // namespace quarmel
