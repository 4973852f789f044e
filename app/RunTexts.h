#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quarmel {

// Texts of a run that the window and the batch runner share, so that both read and write them
// alike.

// A duration in seconds with three decimals and ".": "1.250".
std::string SecondsText(double seconds);

// A seed as both programs take it: a whole number from 0 to 4294967295 in decimal digits, with
// nothing before or after it (no sign, no space). Empty when the text is not one. The window's
// fixed seed N and the batch runner's --seed N read through this, so they name the same run.
std::optional<std::uint32_t> ParseSeed(const std::string& text);

}  // namespace quarmel
