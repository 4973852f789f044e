#pragma once

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

}  // namespace quarmel
