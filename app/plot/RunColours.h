#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace quarmel {

// The colour of the convergence plot's run number `number` (runs are numbered from 0 in the order
// they begin): ten colours that stay apart on light and dark backgrounds, in turn. A race's lanes
// read their colours here too, so a lane's path and its curve match.
std::array<std::uint8_t, 3> RunColour(std::size_t number);

}  // namespace quarmel
