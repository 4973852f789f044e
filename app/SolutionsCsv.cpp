#include "app/SolutionsCsv.h"

#include "app/NumberText.h"

namespace quarmel {

std::string SolutionsCsv(const Problem& problem, const SolutionList& solutions) {
    std::string out;
    for (const VariableSpec& v : problem.Variables()) out += v.Name + ",";
    out += "F\n";
    for (const Solution& s : solutions) {
        for (float v : s.Values) out += PrintfG(v, 9) + ",";
        out += PrintfG(s.Value, 9) + "\n";
    }
    return out;
}

}  // namespace quarmel
