#include "Solution.h"

#include "model/Improvement.h"

namespace quarmel {

const Solution& SolutionList::Best(bool maximize) const {
    std::size_t best = 0;
    for (std::size_t i = 1; i < items_.size(); ++i) {
        if (Improves(items_[best].Value, items_[i].Value, maximize)) best = i;
    }
    return items_[best];
}

}  // namespace quarmel
