// Feeds arbitrary bytes to the data-file reader: it must end on every input without a fault and
// without handing back more than the window can hold.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/datafile/DataFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarmel;
    const DataFileReading r =
        ReadDataText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (r.Variables.size() > static_cast<std::size_t>(kMaxVariables)) __builtin_trap();
    for (const VariableSpec& v : r.Variables) {
        if (v.Name.size() > kMaxNameLength) __builtin_trap();
    }
    if (r.Formula && r.Formula->size() > kMaxFormulaLength) __builtin_trap();
    for (const SolutionView s : r.Solutions) {
        if (s.Values.size() != r.Variables.size()) __builtin_trap();
    }
    if (r.Ok() && r.SolutionCount && *r.SolutionCount > 0 &&
        r.Solutions.Count() != static_cast<std::size_t>(*r.SolutionCount)) {
        __builtin_trap();
    }
    // Whatever was read writes out as a file that reads back the same (numbers aside, which the
    // writer rounds to six digits).
    if (r.Ok()) {
        DataFileContents c;
        c.FunctionName = *r.FunctionName;
        c.Formula = *r.Formula;
        c.Maximize = *r.Maximize;
        c.Variables = r.Variables;
        c.Solutions = r.Solutions;
        const DataFileReading back = ReadDataText(DataFileText(c));
        if (!back.Ok() || back.FunctionName != r.FunctionName || back.Formula != r.Formula ||
            back.Maximize != r.Maximize || back.Variables.size() != r.Variables.size() ||
            back.Solutions.Count() != r.Solutions.Count()) {
            __builtin_trap();
        }
        for (std::size_t i = 0; i < r.Variables.size(); ++i) {
            if (back.Variables[i].Name != r.Variables[i].Name) __builtin_trap();
        }
    }
    return 0;
}
