#include <algorithm>
#include <string>

#include "app/datafile/AtomicFile.h"
#include "app/datafile/DataFile.h"
#include "app/text/NumberText.h"

namespace quarmel {

namespace {

const char kSolutionsComment[] =
    "# solutions - comma-delimited values list for variables and value of function (last)";

// The reader takes the name word by word (words of at most 200 characters) up to a word "#":
// why a name would not read back as written, or an empty text.
std::string UnreadableNameReason(const std::string& name) {
    constexpr std::size_t kWordWidth = 200;
    std::size_t at = 0;
    while (at < name.size()) {
        const std::size_t start = name.find_first_not_of(" \t\n\r\v\f", at);
        if (start == std::string::npos) break;
        at = std::min(name.find_first_of(" \t\n\r\v\f", start), name.size());
        const std::size_t length = at - start;
        if (length == 1 && name[start] == '#') {
            return "a \"#\" standing alone would end the name in the file";
        }
        if (length > kWordWidth) {
            return "a word of it is longer than " + std::to_string(kWordWidth) + " characters";
        }
    }
    return {};
}

}  // namespace

std::string DataFileText(const DataFileContents& c) {
    std::string formula = c.Formula;
    for (char& ch : formula) {
        if (ch == ',') ch = '.';
    }
    std::string out;
    out += "# data file for Quarmel\n";
    out += "# " + c.FunctionName + "\n\n";
    out += "# formula\n";
    out += "f=" + formula + "\n\n";
    out += "# 1 for maximization, 0 for minimization\n";
    out += std::string("max=") + (c.Maximize ? "1" : "0") + " \n\n";
    out += "# number of variables\n";
    out += "vars=" + std::to_string(c.Variables.size()) + " \n\n";
    out += "# variables: name, min, max, default\n";
    for (const VariableSpec& v : c.Variables) {
        out +=
            v.Name + "," + PrintfG(v.Min) + "," + PrintfG(v.Max) + "," + PrintfG(v.Default) + "\n";
    }
    out += "\n";
    out += "# number of solutions\n";
    out += "sols=" + std::to_string(c.Solutions.Count()) + "\n\n";
    if (!c.Solutions.Empty()) {
        out += kSolutionsComment;
        out += "\n";
        for (const SolutionView s : c.Solutions) {
            for (float value : s.Values) out += PrintfG(value) + ",";
            out += PrintfG(s.Value) + "\n";
        }
    }
    return out;
}

SaveResult SaveDataFile(const std::string& path, const DataFileContents& contents) {
    SaveResult result;
    const std::string nameReason = UnreadableNameReason(contents.FunctionName);
    if (!nameReason.empty()) {
        result.Error = "Cannot save '" + path + "': the function name '" + contents.FunctionName +
                       "' would not read back: " + nameReason + ".";
        return result;
    }
    // Every solution of a list holds as many values as the first.
    const std::size_t held = contents.Solutions.VariableCount();
    if (!contents.Solutions.Empty() && held != contents.Variables.size()) {
        // Such a line would be read back as parts of other solutions.
        result.Error = "Cannot save '" + path + "': solution 1 holds " + std::to_string(held) +
                       " values for " + std::to_string(contents.Variables.size()) + " variables";
        return result;
    }
    result.Ok = WriteFileAtomically(path, DataFileText(contents), result.Error);
    return result;
}

}  // namespace quarmel
