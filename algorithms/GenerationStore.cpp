#include "algorithms/GenerationStore.h"

#include <algorithm>
#include <cstring>

namespace quarmel {

void GenerationStore::Add(const SolutionList& population) {
    const std::size_t generation = added_++;
    const std::size_t members = population.Count();
    if (members > 0 && width_ == 0) width_ = population.VariableCount() + 1;
    latest_.clear();
    latest_.reserve(members * width_);
    for (std::size_t i = 0; i < members; ++i) {
        for (std::size_t j = 0; j + 1 < width_; ++j) latest_.push_back(population.VarValue(i, j));
        latest_.push_back(population.FuncValue(i));
    }
    latestMembers_ = members;

    if (generation % stride_ != 0) return;
    const std::size_t limit = bound_ / sizeof(float);
    while (block_.size() + latest_.size() > limit && !kept_.empty()) {
        Thin();
        if (generation % stride_ != 0) return;
    }
    // A single generation larger than the bound is kept only while it is the latest.
    if (block_.size() + latest_.size() > limit) return;
    Reserve(block_.size() + latest_.size());
    kept_.push_back({generation, block_.size(), members});
    block_.insert(block_.end(), latest_.begin(), latest_.end());
}

void GenerationStore::Thin() {
    stride_ *= 2;
    std::size_t floats = 0;
    std::size_t count = 0;
    for (const Kept& k : kept_) {
        if (k.Generation % stride_ != 0) continue;
        const std::size_t size = k.Members * width_;
        if (size > 0)
            std::memmove(block_.data() + floats, block_.data() + k.Offset, size * sizeof(float));
        kept_[count++] = {k.Generation, floats, k.Members};
        floats += size;
    }
    kept_.resize(count);
    block_.resize(floats);
}

void GenerationStore::Reserve(std::size_t floats) {
    if (floats <= block_.capacity()) return;
    // Doubling as a vector would, but never past the bound.
    const std::size_t limit = bound_ / sizeof(float);
    block_.reserve(std::min(limit, std::max(floats, 2 * block_.capacity())));
}

std::optional<std::size_t> GenerationStore::NearestKept(std::size_t generation) const {
    if (added_ == 0) return std::nullopt;
    const std::size_t latest = added_ - 1;
    if (generation >= latest) return latest;
    std::optional<std::size_t> below;
    std::size_t above = latest;
    const auto next =
        std::lower_bound(kept_.begin(), kept_.end(), generation,
                         [](const Kept& k, std::size_t g) { return k.Generation < g; });
    if (next != kept_.end()) above = next->Generation;
    if (next != kept_.begin()) below = std::prev(next)->Generation;
    if (above == generation) return above;
    if (below && generation - *below <= above - generation) return below;
    return above;
}

SolutionList GenerationStore::Population(std::size_t generation) const {
    const std::optional<std::size_t> nearest = NearestKept(generation);
    if (!nearest) return SolutionList();
    if (*nearest == added_ - 1) return Unpack(latest_.data(), latestMembers_);
    const auto k =
        std::lower_bound(kept_.begin(), kept_.end(), *nearest,
                         [](const Kept& kept, std::size_t g) { return kept.Generation < g; });
    return Unpack(block_.data() + k->Offset, k->Members);
}

SolutionList GenerationStore::Unpack(const float* data, std::size_t members) const {
    SolutionList list;
    list.Reserve(members, width_ - 1);
    for (std::size_t i = 0; i < members; ++i, data += width_) {
        list.Append(data, data + width_ - 1, data[width_ - 1]);
    }
    return list;
}

}  // namespace quarmel
