#include "app/examples/ProblemIdentity.h"

#include "app/text/NumberText.h"

namespace quarmel {

std::string ProblemKey(const Problem& problem) {
    std::string key = problem.FunctionText();
    for (const VariableSpec& v : problem.Variables()) {
        key += "; " + v.Name + " in [" + ShortestText(v.Min) + "; " + ShortestText(v.Max) + "]";
    }
    return key + (problem.Maximize() ? "; max" : "; min");
}

bool SameProblem(const Problem& a, const Problem& b) {
    return ProblemKey(a) == ProblemKey(b);
}

}  // namespace quarmel
