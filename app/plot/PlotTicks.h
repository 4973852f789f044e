#pragma once

#include <string>
#include <vector>

namespace quarmel {

// Round values for an axis from `lo` to `hi`: multiples of 1, 2 or 5 times a power of ten, the
// finest step that gives at most `most` of them inside the range (ends included). A range of
// one value gives that value; a range that is not finite gives none.
std::vector<double> NiceTicks(double lo, double hi, int most);

// Round values for a log axis from `lo` to `hi` (both above 0): 1, 2 and 5 times the powers of
// ten inside the range; only the powers of ten when those would be more than `most`, and then
// every second, fifth, tenth... power until they are at most `most`.
std::vector<double> LogTicks(double lo, double hi, int most);

// The powers of ten from 1 up to `last` (1 alone for `last` below 10), for a log axis of
// evaluations.
std::vector<double> DecadeTicks(double last);

// The labels of an axis's ticks in one number style, with the decimal comma: plain numbers
// ("0,5", "2500", "100000") when every tick other than 0 lies from 0.0001 to below 1000000,
// otherwise every one in exponent notation ("1E0", "2,5E6", "1E-5"; 0 stays "0").
std::vector<std::string> TickLabels(const std::vector<double>& ticks);

// Round values around 0 for a symmetric log axis from `lo` to `hi` that is linear within
// `linear` of 0: 0 and plus or minus the powers of ten from `linear` outwards, every second,
// fifth, tenth... power when they would be more than `most`.
std::vector<double> SymmetricLogTicks(double lo, double hi, double linear, int most);

}  // namespace quarmel
