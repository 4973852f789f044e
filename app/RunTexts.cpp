#include "app/RunTexts.h"

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

}  // namespace quarmel
