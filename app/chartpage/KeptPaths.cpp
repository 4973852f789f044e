#include "app/chartpage/KeptPaths.h"

namespace quarmel {

std::vector<ColouredPath> KeptPathMarkers(const std::vector<KeptPath>& runs,
                                          const MarkerAxes& axes) {
    std::vector<ColouredPath> paths;
    for (const KeptPath& run : runs) {
        if (!run.Solutions || run.Solutions->Empty() || run.Hidden || run.OtherProblem) continue;
        paths.push_back({SolutionMarkers(*run.Solutions, axes), run.Colour});
    }
    return paths;
}

}  // namespace quarmel
