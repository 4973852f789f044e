#include "app/text/ResultLabels.h"

#include "app/text/NumberText.h"
#include "model/Improvement.h"

namespace quarmel {

void ResultLabels::Update(const SolutionList& solutions, bool maximize) {
    const std::size_t n = solutions.Count();
    if (pending_ == ListChange::Replaced || n < read_ || maximize != maximize_) {
        read_ = 0;
        maximize_ = maximize;
        initialText_.clear();
        optimalText_.clear();
    }
    pending_ = ListChange::None;
    if (read_ == n) return;
    if (read_ == 0) {
        best_ = initial_ = solutions.FuncValue(0);
        initialText_ = GeneralText(best_, 7);
    }
    const float before = best_;
    for (std::size_t i = read_; i < n; ++i) {
        const float v = solutions.FuncValue(i);
        if (Improves(best_, v, maximize_)) best_ = v;
    }
    // Texts are made again only when the best changed (or the list is new).
    if (read_ == 0 || Improves(before, best_, maximize_)) optimalText_ = GeneralText(best_, 7);
    read_ = n;
}

}  // namespace quarmel
