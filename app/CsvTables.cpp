#include "app/CsvTables.h"

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
        for (const VariableSpec& v : problem.Variables()) out += CsvField(v.Name) + ",";
        out += "F\n";
    }
    for (const Solution& s : solutions) {
        for (float v : s.Values) out += PrintfG(v, 9) + ",";
        out += PrintfG(s.Value, 9) + "\n";
    }
    return out;
}

std::string CsvNumber(const std::optional<double>& value) {
    return value ? PrintfG(*value, 9) : "none";
}

std::string SeriesLabel(AlgorithmKind kind, const std::string& settings,
                        const std::string& problem) {
    return std::string(AlgorithmName(kind)) + "," + CsvField(settings) + "," + CsvField(problem);
}

std::string RunRowHeader(bool target) {
    return std::string("algorithm,settings,problem,seed,best,solutions,evaluations,ended") +
           (target ? ",evaluations_to_target\n" : "\n");
}

std::string RunRowFields(const std::string& label, std::uint32_t seed,
                         const std::optional<double>& best, std::size_t solutions,
                         unsigned long long evaluations, const std::string& ended) {
    return label + "," + std::to_string(seed) + "," + CsvNumber(best) + "," +
           std::to_string(solutions) + "," + std::to_string(evaluations) + "," + ended;
}

}  // namespace quarmel
