#include "Solution.h"

namespace quarmel {

Solution SolutionList::Best(bool maximize) const {
    std::size_t best = 0;
    for (std::size_t i = 1; i < items_.size(); ++i) {
        // Strictly greater or strictly smaller: a value that does not compare (not a number)
        // neither displaces the best so far nor is displaced once it is the first.
        const float v = items_[i].Value;
        if (maximize ? v > items_[best].Value : v < items_[best].Value) best = i;
    }
    return items_[best];
}

}  // namespace quarmel
