#include "model/Solution.h"

#include "model/Improvement.h"

namespace quarmel {

SolutionView SolutionList::Best(bool maximize) const {
    std::size_t best = 0;
    for (std::size_t i = 1; i < count_; ++i) {
        if (Improves(FuncValue(best), FuncValue(i), maximize)) best = i;
    }
    return At(best);
}

}  // namespace quarmel
