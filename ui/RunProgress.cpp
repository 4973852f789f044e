#include "ui/RunProgress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace quarmel {

namespace {

std::string WithDecimalComma(std::string text) {
    for (char& c : text)
        if (c == '.') c = ',';
    return text;
}

// Removes trailing zeros of a fraction, and the point when nothing follows it.
std::string TrimFraction(std::string text) {
    if (text.find('.') == std::string::npos) return text;
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

}  // namespace

std::string GeneralNumberText(double value, int digits) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (value == 0.0) return "0";
    if (digits < 1) digits = 1;
    // Round to the significant digits first: the rounded value decides the notation.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, value);
    char* e = std::strchr(buf, 'e');
    const int exponent = std::atoi(e + 1);
    const double rounded = std::strtod(buf, nullptr);
    if (exponent + 1 > digits || std::fabs(rounded) < 0.00001) {
        *e = '\0';
        std::string text = TrimFraction(buf) + "E" + (exponent < 0 ? "-" : "") +
                           std::to_string(std::abs(exponent));
        return WithDecimalComma(text);
    }
    std::snprintf(buf, sizeof buf, "%.*f", std::max(0, digits - 1 - exponent), value);
    return WithDecimalComma(TrimFraction(buf));
}

std::string InitialSolutionText(const SolutionList& solutions) {
    if (solutions.Empty()) return {};
    return GeneralNumberText(solutions.FuncValue(0), 7);
}

std::string OptimalSolutionText(const SolutionList& solutions, bool maximize) {
    if (solutions.Empty()) return {};
    return GeneralNumberText(solutions.Best(maximize).Value, 7);
}

std::string UnusableRangeMessage(const Problem& problem) {
    for (const VariableSpec& v : problem.Variables()) {
        // Also refuses bounds that do not compare at all.
        if (!(v.Max > v.Min))
            return "The maximum of variable " + v.Name + " must be greater than its minimum.";
    }
    return {};
}

}  // namespace quarmel
