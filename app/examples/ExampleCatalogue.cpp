#include "app/examples/ExampleCatalogue.h"

#include <charconv>
#include <cmath>
#include <map>
#include <string_view>

namespace quarmel {

namespace {

const char kHeader[] =
    "file\tname\tdimension\tdirection\toptimum\tlocation\ttolerance\tdescription\tsource";

std::vector<std::string_view> Split(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t end = line.find(separator, start);
        fields.push_back(line.substr(start, end - start));
        if (end == std::string_view::npos) return fields;
        start = end + 1;
    }
}

bool Number(std::string_view text, double& value) {
    const char* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(text.data(), last, value);
    return ec == std::errc() && end == last && std::isfinite(value);
}

// One line's example, or an empty text saying what is wrong with it.
std::string ReadExample(std::string_view line, ExampleProblem& e) {
    const std::vector<std::string_view> f = Split(line, '\t');
    if (f.size() != 9) return std::to_string(f.size()) + " fields instead of 9";
    e.File = f[0];
    e.Name = f[1];
    if (e.File.empty() || e.File.find('/') != std::string::npos) return "no plain file name";
    double dimension = 0;
    if (!Number(f[2], dimension) || dimension < 1 || dimension != std::floor(dimension)) {
        return "the dimension is not a whole number above 0";
    }
    e.Dimension = static_cast<int>(dimension);
    if (f[3] != "min" && f[3] != "max") return "the direction is neither min nor max";
    e.Maximize = f[3] == "max";
    if (!Number(f[4], e.Optimum.Value)) return "the optimum is not a number";
    for (std::string_view x : Split(f[5], ';')) {
        double coordinate = 0;
        if (!Number(x, coordinate)) return "the location is not a list of numbers";
        e.Optimum.Location.push_back(coordinate);
    }
    if (static_cast<int>(e.Optimum.Location.size()) != e.Dimension) {
        return "the location does not have one coordinate per variable";
    }
    if (!Number(f[6], e.Optimum.Tolerance) || e.Optimum.Tolerance < 0) {
        return "the tolerance is not a number of at least 0";
    }
    e.Description = f[7];
    e.Source = f[8];
    return {};
}

}  // namespace

ExampleCatalogue ReadExampleCatalogue(const std::string& text) {
    ExampleCatalogue catalogue;
    std::vector<std::string_view> lines = Split(text, '\n');
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    if (lines.empty() || lines[0] != kHeader) {
        catalogue.Error = "line 1: not the catalogue's header";
        return catalogue;
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
        ExampleProblem e;
        const std::string why = ReadExample(lines[i], e);
        if (!why.empty()) {
            catalogue.Warnings.push_back("line " + std::to_string(i + 1) + ": " + why);
            continue;
        }
        catalogue.Examples.push_back(std::move(e));
    }
    return catalogue;
}

std::optional<ExampleProblem> FindExample(const ExampleCatalogue& catalogue,
                                          const std::string& fileName) {
    for (const ExampleProblem& e : catalogue.Examples) {
        if (e.File == fileName) return e;
    }
    return std::nullopt;
}

std::vector<ExampleGroup> GroupByDimension(const std::vector<ExampleProblem>& examples) {
    std::map<int, ExampleGroup> groups;
    for (const ExampleProblem& e : examples) {
        ExampleGroup& group = groups[e.Dimension];
        group.Dimension = e.Dimension;
        group.Examples.push_back(e);
    }
    std::vector<ExampleGroup> ordered;
    for (auto& [n, group] : groups) {
        group.Caption = std::to_string(n) + (n == 1 ? " variable" : " variables");
        ordered.push_back(std::move(group));
    }
    return ordered;
}

bool ExampleFits(const ExampleProblem& example, const Problem& problem) {
    return example.Maximize == problem.Maximize() &&
           example.Optimum.Location.size() == problem.Variables().size();
}

}  // namespace quarmel
