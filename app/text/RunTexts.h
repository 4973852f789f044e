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

// Why a text is refused as a seed, after the name of what holds it: "needs a whole number from 0
// to 4294967295, not '<text>'".
std::string SeedRefusal(const std::string& text);

// The seed of the window's next run: the fixed one when `fixed` is on, else `clockSeed`. A fixed
// seed whose text is not a seed is refused (Refusal says why) rather than replaced by the clock's.
struct SeedChoice {
    std::uint32_t Seed = 0;
    std::string Refusal;  // empty when the seed can be used
};
SeedChoice ChooseSeed(bool fixed, const std::string& text, std::uint32_t clockSeed);

}  // namespace quarmel
