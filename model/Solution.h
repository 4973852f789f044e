#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <type_traits>
#include <vector>

namespace quarmel {

// One point of the search: a value per variable and the function value there.
struct Solution {
    std::vector<float> Values;
    float Value = 0.0f;
};

// The values of one Solution held elsewhere (in a SolutionList's block): T is float, or const
// float for a read-only view.
template <typename T>
class ValueSpan {
  public:
    ValueSpan(T* data, std::size_t size) : data_(data), size_(size) {}
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    T* data() const { return data_; }
    T& operator[](std::size_t j) const { return data_[j]; }
    T* begin() const { return data_; }
    T* end() const { return data_ + size_; }

  private:
    T* data_;
    std::size_t size_;
};

template <typename T, typename U>
bool operator==(const ValueSpan<T>& a, const ValueSpan<U>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t j = 0; j < a.size(); ++j) {
        if (!(a[j] == b[j])) return false;
    }
    return true;
}
template <typename T, typename U>
bool operator!=(const ValueSpan<T>& a, const ValueSpan<U>& b) {
    return !(a == b);
}

// One Solution inside a SolutionList, seen in place: valid as long as the list is not changed.
// SolutionView reads it; SolutionRef (from a list that is not const) also writes it.
template <typename T>
struct SolutionRow {
    ValueSpan<T> Values;
    T& Value;

    template <typename U>
    SolutionRow(const SolutionRow<U>& other)
        : Values(other.Values.data(), other.Values.size()), Value(other.Value) {}
    // A row of `count` values followed by its function value.
    SolutionRow(T* values, std::size_t count) : Values(values, count), Value(values[count]) {}
    // A read-only view of a Solution of its own.
    template <typename U = T, typename = std::enable_if_t<std::is_const<U>::value>>
    SolutionRow(const Solution& s) : Values(s.Values.data(), s.Values.size()), Value(s.Value) {}
    explicit operator Solution() const {
        return Solution{std::vector<float>(Values.begin(), Values.end()), Value};
    }
};
using SolutionView = SolutionRow<const float>;
using SolutionRef = SolutionRow<float>;

// Copies `from` into `to`'s storage, as assignment does: the genetic operators copy many
// Solutions of a few values each, where a plain loop is several times cheaper than the library's
// general copy. A row is written in place and must have from's size.
inline void CopySolution(SolutionRef to, SolutionView from) {
    const std::size_t n = from.Values.size();
    float* d = to.Values.data();
    const float* s = from.Values.data();
    for (std::size_t j = 0; j < n; ++j) d[j] = s[j];
    to.Value = from.Value;
}
inline void CopySolution(Solution& to, SolutionView from) {
    if (to.Values.size() == from.Values.size()) {
        std::copy(from.Values.begin(), from.Values.end(), to.Values.begin());
        to.Value = from.Value;
    } else {
        to = Solution(from);
    }
}

// An ordered, owning sequence of Solutions with value semantics, all with the same number of
// values. They are held in one block, each as its values followed by its function value, so a
// list of millions costs no more than its numbers. Lists are appended to, cleared, resized or
// replaced whole. Accessors do not check their preconditions (callers guarantee them).
class SolutionList {
  public:
    void Clear() {
        count_ = 0;
        data_.clear();
    }
    std::size_t Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    // The first Solution appended to an empty list sets how many values each one holds.
    void Append(const Solution& s) { Append(s.Values.begin(), s.Values.end(), s.Value); }
    void Append(SolutionView s) { Append(s.Values.begin(), s.Values.end(), s.Value); }
    // A Solution of the values in [first, last) (narrowed to float) and the function value. The
    // values are not this list's own (the block may move).
    template <typename It>
    void Append(It first, It last, float value) {
        const std::size_t n = static_cast<std::size_t>(std::distance(first, last));
        if (count_ == 0) width_ = n;
        const std::size_t at = data_.size();
        data_.resize(at + n + 1);
        float* row = data_.data() + at;
        for (; first != last; ++first) *row++ = static_cast<float>(*first);
        *row = value;
        ++count_;
    }
    // Room for n Solutions of `variableCount` values each.
    void Reserve(std::size_t n, std::size_t variableCount) {
        data_.reserve(n * (variableCount + 1));
    }
    // n Solutions of `variableCount` values each, for the caller to write; the block keeps its
    // storage, so a list can be rewritten without allocating.
    void Resize(std::size_t n, std::size_t variableCount) {
        width_ = variableCount;
        count_ = n;
        data_.resize(n * (width_ + 1));
    }
    // The capacity of the block, in bytes.
    std::size_t HeldBytes() const { return data_.capacity() * sizeof(float); }

    SolutionRef At(std::size_t i) { return SolutionRef(Row(i), width_); }
    SolutionView At(std::size_t i) const { return SolutionView(Row(i), width_); }
    Solution CopyAt(std::size_t i) const { return Solution(At(i)); }

    float VarValue(std::size_t i, std::size_t j) const { return Row(i)[j]; }
    float FuncValue(std::size_t i) const { return Row(i)[width_]; }
    float LastVarValue(std::size_t j) const { return VarValue(count_ - 1, j); }
    float LastFuncValue() const { return FuncValue(count_ - 1); }
    std::size_t VariableCount() const { return width_; }

    // The best Solution in the given direction, by the improvement rule (model/Improvement.h):
    // only a strictly greater (maximising) or strictly smaller (minimising) value displaces the
    // best so far, so among equal values the lowest index wins; a not-a-number value never
    // displaces a number and is displaced by any. The list is not empty.
    SolutionView Best(bool maximize) const;

    class Iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Solution;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = SolutionView;
        Iterator(const SolutionList* list, std::size_t i) : list_(list), i_(i) {}
        SolutionView operator*() const { return list_->At(i_); }
        Iterator& operator++() { return ++i_, *this; }
        Iterator operator+(std::ptrdiff_t k) const { return Iterator(list_, i_ + k); }
        bool operator==(const Iterator& o) const { return i_ == o.i_; }
        bool operator!=(const Iterator& o) const { return i_ != o.i_; }

      private:
        const SolutionList* list_;
        std::size_t i_;
    };
    Iterator begin() const { return Iterator(this, 0); }
    Iterator end() const { return Iterator(this, count_); }

  private:
    float* Row(std::size_t i) { return data_.data() + i * (width_ + 1); }
    const float* Row(std::size_t i) const { return data_.data() + i * (width_ + 1); }

    std::vector<float> data_;  // count_ rows of width_ values and the function value
    std::size_t width_ = 0;
    std::size_t count_ = 0;
};

}  // namespace quarmel
