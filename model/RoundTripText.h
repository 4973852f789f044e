#pragma once

#include <charconv>
#include <cmath>
#include <string>

namespace quarmel {

// The shortest text with "." that reads back as the same float or double ("0.16", not
// "0.159999967"); "nan", "inf" and "-inf" for the values that are no number. Every table, the
// settings texts and the data the batch runner writes print numbers this way.
template <class T>
std::string RoundTripText(T value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

}  // namespace quarmel
