#include "app/SolutionsCsv.h"

#include "app/NumberText.h"

namespace quarmel {

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string SolutionsCsv(const Problem& problem, const SolutionList& solutions, bool header) {
    std::string out;
    if (header) {
        for (const VariableSpec& v : problem.Variables()) out += v.Name + ",";
        out += "F\n";
    }
    for (const Solution& s : solutions) {
        for (float v : s.Values) out += PrintfG(v, 9) + ",";
        out += PrintfG(s.Value, 9) + "\n";
    }
    return out;
}

}  // namespace quarmel
