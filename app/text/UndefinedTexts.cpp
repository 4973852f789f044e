#include "app/text/UndefinedTexts.h"

namespace quarmel {
namespace {

// The reasons by the parser's error codes, from 1.
const char* const kReasons[] = {
    "division by zero", "square root of a negative number", "logarithm of a number not above 0",
    "inverse trigonometric function outside its domain", "too deep recursion"};

// Counts in plain digits: the window's decimal comma leaves no separator for thousands.
std::string Count(unsigned long long n) {
    return std::to_string(n);
}

}  // namespace

std::string UndefinedValueNote(int evalError) {
    return evalError == 0 ? std::string() : "undefined, counted as 0";
}

std::string UndefinedValueReason(int evalError) {
    if (evalError == 0) return {};
    const int count = static_cast<int>(sizeof kReasons / sizeof kReasons[0]);
    const std::string why =
        evalError >= 1 && evalError <= count ? kReasons[evalError - 1] : "an evaluation error";
    return "undefined here: " + why;
}

std::string UndefinedShortText(unsigned long long undefined) {
    return undefined == 0 ? std::string() : Count(undefined) + " undefined";
}

std::string UndefinedCountText(unsigned long long undefined, unsigned long long evaluations) {
    if (undefined == 0) return {};
    return Count(undefined) + " of " + Count(evaluations) + " evaluations undefined, counted as 0";
}

}  // namespace quarmel
