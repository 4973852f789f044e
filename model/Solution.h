#pragma once

#include <cstddef>
#include <vector>

namespace quarmel {

// One point of the search: a value per variable and the function value there.
struct Solution {
    std::vector<float> Values;
    float Value = 0.0f;
};

// Copies `from` into `to`'s storage, as assignment does. The genetic operators copy many
// Solutions of a few values each into Solutions of the same size, where a plain loop is several
// times cheaper than the library's general copy.
inline void CopySolution(Solution& to, const Solution& from) {
    const std::size_t n = from.Values.size();
    if (to.Values.size() == n) {
        float* d = to.Values.data();
        const float* s = from.Values.data();
        for (std::size_t j = 0; j < n; ++j) d[j] = s[j];
    } else {
        to.Values = from.Values;
    }
    to.Value = from.Value;
}

// An ordered, owning sequence of Solutions with value semantics. Lists are appended to, cleared,
// resized or replaced whole. Accessors do not check their preconditions (callers guarantee them).
class SolutionList {
  public:
    void Clear() { items_.clear(); }
    std::size_t Count() const { return items_.size(); }
    bool Empty() const { return items_.empty(); }
    void Append(const Solution& s) { items_.push_back(s); }
    void Append(Solution&& s) { items_.push_back(std::move(s)); }
    void Reserve(std::size_t n) { items_.reserve(n); }
    // n Solutions; those kept keep their storage, so a list can be rewritten without allocating.
    void Resize(std::size_t n) { items_.resize(n); }

    Solution& At(std::size_t i) { return items_[i]; }
    const Solution& At(std::size_t i) const { return items_[i]; }
    Solution CopyAt(std::size_t i) const { return items_[i]; }

    float VarValue(std::size_t i, std::size_t j) const { return items_[i].Values[j]; }
    float FuncValue(std::size_t i) const { return items_[i].Value; }
    float LastVarValue(std::size_t j) const { return items_.back().Values[j]; }
    float LastFuncValue() const { return items_.back().Value; }
    std::size_t VariableCount() const { return items_.front().Values.size(); }

    // The best Solution in the given direction, by the improvement rule (model/Improvement.h):
    // only a strictly greater (maximising) or strictly smaller (minimising) value displaces the
    // best so far, so among equal values the lowest index wins; a not-a-number value never
    // displaces a number and is displaced by any. The list is not empty; the reference lasts as
    // long as the list is not changed.
    const Solution& Best(bool maximize) const;

    std::vector<Solution>::const_iterator begin() const { return items_.begin(); }
    std::vector<Solution>::const_iterator end() const { return items_.end(); }

  private:
    std::vector<Solution> items_;
};

}  // namespace quarmel
