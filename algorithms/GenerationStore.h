#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "model/Solution.h"

namespace quarmel {

// The genetic populations of a run, one per generation, kept for replaying the run afterwards.
// Each kept population is a run of floats in one flat block (per member its variable values,
// then its function value), so a generation costs its numbers and nothing more.
//
// The block never holds more than its byte bound. While it fits, every generation is kept. When
// the next one would not fit, every other kept generation is dropped and from then on only every
// Stride()-th generation is kept (0, m, 2m, ...; m doubles each time the bound is reached), so a
// long run keeps evenly spread generations in the same memory. The latest generation is always
// kept besides the block, so a run's end shows exactly.
class GenerationStore {
  public:
    // 256 MB: about 220,000 generations of 100 members with two variables before thinning.
    static constexpr std::size_t kDefaultByteBound = std::size_t{256} << 20;

    explicit GenerationStore(std::size_t byteBound = kDefaultByteBound) : bound_(byteBound) {}

    // Takes in the population of the next generation (the first is generation 0).
    void Add(const SolutionList& population);

    // How many generations were added, and the distance between kept ones (1: all kept).
    std::size_t Generations() const { return added_; }
    std::size_t Stride() const { return stride_; }
    // The kept generation nearest to `generation` (the earlier of two as near); none before the
    // first Add.
    std::optional<std::size_t> NearestKept(std::size_t generation) const;
    // The population of NearestKept(generation); empty when there is none.
    SolutionList Population(std::size_t generation) const;
    // Bytes the kept populations take, the latest one included.
    std::size_t Bytes() const { return (block_.capacity() + latest_.capacity()) * sizeof(float); }

  private:
    struct Kept {
        std::size_t Generation;
        std::size_t Offset;  // into block_
        std::size_t Members;
    };
    // Drops every other kept generation and doubles the stride.
    void Thin();
    // Grows the block's capacity to hold `floats`, never past the bound.
    void Reserve(std::size_t floats);
    SolutionList Unpack(const float* data, std::size_t members) const;

    std::size_t bound_;
    std::size_t stride_ = 1;
    std::size_t added_ = 0;
    std::size_t width_ = 0;  // floats per member: the variables and the value
    std::vector<float> block_;
    std::vector<Kept> kept_;
    std::vector<float> latest_;
    std::size_t latestMembers_ = 0;
};

}  // namespace quarmel
