#include "app/tables/CsvTables.h"

#include <charconv>
#include <cmath>

#include "algorithms/AlgorithmTable.h"
#include "app/text/NumberText.h"
#include "model/RoundTripText.h"
#include "model/Settings.h"

namespace quarmel {

namespace {

// The length of the well-formed UTF-8 sequence at `at`, or 0.
std::size_t SequenceAt(const std::string& text, std::size_t at) {
    const auto byte = [&](std::size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
    };
    const unsigned b = byte(at);
    if (b < 0x80) return 1;
    // The second byte's range depends on the first (no overlong forms, surrogates or values
    // past U+10FFFF); the others are 0x80..0xBF.
    std::size_t n = 0;
    unsigned lo = 0x80, hi = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0) lo = 0xA0;
        if (b == 0xED) hi = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0) lo = 0x90;
        if (b == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (byte(at + 1) < lo || byte(at + 1) > hi) return 0;
    for (std::size_t i = 2; i < n; ++i) {
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
    }
    return n;
}

}  // namespace

std::string ValidUtf8(const std::string& text) {
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t n = SequenceAt(text, at);
        out += n ? text.substr(at, n) : "\xEF\xBF\xBD";
        at += n ? n : 1;
    }
    return out;
}

std::string TableName(const std::string& functionName) {
    const std::size_t from = functionName.find_first_not_of(" \t");
    if (from == std::string::npos) return {};
    return functionName.substr(from, functionName.find_last_not_of(" \t") + 1 - from);
}

std::string CsvField(const std::string& raw) {
    const std::string text = ValidUtf8(raw);
    if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string FloatText(float value) {
    return RoundTripText(value);
}

std::string DoubleText(double value) {
    return RoundTripText(value);
}

std::string StatisticText(const std::optional<double>& v) {
    if (!v) return std::string();
    const double a = std::fabs(*v);
    if (std::isfinite(a) && (a > std::numeric_limits<float>::max() ||
                             (a != 0 && a < std::numeric_limits<float>::min()))) {
        return DoubleText(*v);
    }
    return FloatText(static_cast<float>(*v));
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
    std::string fields = CsvField(problemFile) + "," + CsvField(TableName(function)) + "," +
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
