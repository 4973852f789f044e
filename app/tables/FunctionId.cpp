#include "app/tables/FunctionId.h"

#include "app/tables/CsvTables.h"

namespace quarmel {

namespace {

void Mix(std::uint64_t& hash, const std::string& text) {
    // Each text ends with a byte no text holds, so ("ab", "c") and ("a", "bc") differ.
    for (const char c : text + '\0') {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
}

}  // namespace

std::uint32_t StableFunctionId(const std::string& functionName, const Problem& problem) {
    std::uint64_t hash = 14695981039346656037ULL;
    Mix(hash, TableName(functionName));
    Mix(hash, problem.FunctionText());
    Mix(hash, problem.Maximize() ? "max" : "min");
    for (const VariableSpec& v : problem.Variables()) {
        Mix(hash, v.Name);
        Mix(hash, FloatText(v.Min));
        Mix(hash, FloatText(v.Max));
    }
    return static_cast<std::uint32_t>(1 + hash % 2147483646ULL);
}

}  // namespace quarmel
