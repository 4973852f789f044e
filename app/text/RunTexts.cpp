#include "app/text/RunTexts.h"

#include <charconv>
#include <system_error>

namespace quarmel {

std::string SecondsText(double seconds) {
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, seconds, std::chars_format::fixed, 3);
    return std::string(buf, end.ptr);
}

std::optional<std::uint32_t> ParseSeed(const std::string& text) {
    const char* first = text.data();
    const char* last = first + text.size();
    std::uint32_t seed = 0;
    const auto [end, ec] = std::from_chars(first, last, seed, 10);
    if (ec != std::errc() || end != last || first == last) return std::nullopt;
    return seed;
}

std::string SeedRefusal(const std::string& text) {
    return "needs a whole number from 0 to 4294967295, not '" + text + "'";
}

SeedChoice ChooseSeed(bool fixed, const std::string& text, std::uint32_t clockSeed) {
    if (!fixed) return {clockSeed, {}};
    if (const auto seed = ParseSeed(text)) return {*seed, {}};
    return {0, "Fixed seed " + SeedRefusal(text) + "."};
}

}  // namespace quarmel
