#pragma once

// Building and comparing Solutions and SolutionLists in tests. Header-only; every test program
// has tests/ on its include path, so include it as "support/SolutionSupport.h".

#include <cstddef>
#include <initializer_list>
#include <utility>
#include <vector>

#include "model/Solution.h"

namespace quarmel::testing {

// A Solution with the given variable values and function value.
inline Solution Make(std::vector<float> values, float value) {
    Solution s;
    s.Values = std::move(values);
    s.Value = value;
    return s;
}

// A list holding the given Solutions in order.
inline SolutionList ListOf(std::initializer_list<Solution> items) {
    SolutionList list;
    for (const SolutionView s : items) list.Append(s);
    return list;
}

// Equal values and equal function values; two not-a-number function values count as equal, so
// a trace compares equal to its repetition.
inline bool SameSolution(SolutionView a, SolutionView b) {
    return a.Values == b.Values &&
           (a.Value == b.Value || (a.Value != a.Value && b.Value != b.Value));
}

// The first prefix.Count() Solutions of list are those of prefix, in order.
inline bool IsPrefix(const SolutionList& prefix, const SolutionList& list) {
    if (prefix.Count() > list.Count()) return false;
    for (std::size_t i = 0; i < prefix.Count(); ++i) {
        if (!SameSolution(prefix.At(i), list.At(i))) return false;
    }
    return true;
}

// The same Solutions in the same order.
inline bool SameList(const SolutionList& a, const SolutionList& b) {
    return a.Count() == b.Count() && IsPrefix(a, b);
}

}  // namespace quarmel::testing
