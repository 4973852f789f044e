#include "app/UndefinedTexts.h"

namespace quarmel {
namespace {

// The reasons by the parser's error codes, from 1.
const char* const kReasons[] = {
    "division by zero", "square root of a negative number", "logarithm of a number not above 0",
    "inverse trigonometric function outside its domain", "too deep recursion"};

// Digits grouped by three with commas, whatever the locale.
std::string Grouped(unsigned long long n) {
    std::string digits = std::to_string(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
    return digits;
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
    return undefined == 0 ? std::string() : Grouped(undefined) + " undefined";
}

std::string UndefinedCountText(unsigned long long undefined, unsigned long long evaluations) {
    if (undefined == 0) return {};
    return Grouped(undefined) + " of " + Grouped(evaluations) +
           " evaluations undefined, counted as 0";
}

}  // namespace quarmel
