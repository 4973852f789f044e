#include "app/CsvTables.h"

#include <charconv>
#include <cmath>

#include "algorithms/AlgorithmTable.h"
#include "app/NumberText.h"
#include "model/Settings.h"

namespace quarmel {

namespace {

template <class T>
std::string Shortest(T value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

}  // namespace

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string FloatText(float value) {
    return Shortest(value);
}

std::string DoubleText(double value) {
    return Shortest(value);
}

std::string OptionalText(const std::optional<double>& value) {
    return value ? DoubleText(*value) : std::string();
}

std::string SolutionsCsv(const Problem& problem, const SolutionList& solutions, bool header) {
    std::string out;
    if (header) {
        for (const VariableSpec& v : problem.Variables()) out += CsvField(v.Name) + ",";
        out += "F\n";
    }
    for (const SolutionView s : solutions) {
        for (float v : s.Values) out += FloatText(v) + ",";
        out += FloatText(s.Value) + "\n";
    }
    return out;
}

std::string CsvNumber(const std::optional<double>& value) {
    return value ? PrintfG(*value, 9) : "none";
}

std::vector<std::string> SettingColumns() {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        if (CountsAsSetting(kSettings[i])) names.emplace_back(kSettings[i].Name);
    }
    return names;
}

std::vector<std::string> SettingValues(const AlgParameters& params) {
    std::vector<std::string> values;
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const SettingSpec& s = kSettings[i];
        if (!CountsAsSetting(s)) continue;
        values.push_back(s.DecimalField ? FloatText(params.*s.DecimalField)
                                        : std::to_string(params.*s.WholeField));
    }
    return values;
}

std::string SeriesHeader() {
    std::string header = "problem,function,direction,dimension,algorithm";
    for (const std::string& name : SettingColumns()) header += "," + name;
    return header;
}

std::string SeriesFields(const std::string& problemFile, const std::string& function,
                         AlgorithmKind kind, const AlgParameters& params) {
    std::string fields = CsvField(problemFile) + "," + CsvField(function) + "," +
                         (params.Maximize() ? "max" : "min") + "," +
                         std::to_string(params.Variables().size()) + "," + AlgorithmName(kind);
    for (const std::string& value : SettingValues(params)) fields += "," + value;
    return fields;
}

std::string RunRowHeader(bool target) {
    return SeriesHeader() + ",seed,best,evaluations,solutions,seconds,ended" +
           (target ? ",evaluations_to_target\n" : "\n");
}

std::string RunRowFields(const std::string& series, std::uint32_t seed,
                         const std::optional<float>& best, unsigned long long evaluations,
                         std::size_t solutions, double seconds, const std::string& ended) {
    return series + "," + std::to_string(seed) + "," + (best ? FloatText(*best) : "") + "," +
           std::to_string(evaluations) + "," + std::to_string(solutions) + "," +
           DoubleText(std::round(seconds * 1e6) / 1e6) + "," + ended;
}

}  // namespace quarmel
