#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "model/Random.h"

namespace quarmel {

// Index draws for a fixed count, many times over (the tournaments make seven per Solution). The
// remainder is taken by multiplication with a precomputed inverse, which gives exactly
// Rand() % m for 32-bit operands without the cost of a division.
class IndexDraw {
  public:
    // m above 0. Past 32-bit counts any draw is its own remainder, as with the largest count.
    explicit IndexDraw(std::size_t m)
        : m_(static_cast<std::uint32_t>(std::min<std::size_t>(m, 0xFFFFFFFFu))),
          inverse_(~std::uint64_t{0} / m_ + 1) {}
    std::size_t operator()() const {
        const std::uint64_t low = inverse_ * static_cast<std::uint32_t>(Rand());
        return static_cast<std::size_t>((static_cast<unsigned __int128>(low) * m_) >> 64);
    }

  private:
    std::uint32_t m_;
    std::uint64_t inverse_;
};

}  // namespace quarmel
