#include "BatchProblem.h"

#include <vector>

#include "BatchOptions.h"
#include "app/DataFile.h"
#include "app/FunctionPage.h"

namespace quarmel {

BatchProblem LoadBatchProblem(const std::string& path, AlgParameters& params) {
    const DataFileReading file = ReadDataFile(path);
    if (!file.Ok()) throw BatchInputError(path + ": " + file.Message);

    // The table as Open leaves it: the file's variables in the first rows, as 4-digit texts.
    std::vector<VariableRowTexts> rows;
    for (const VariableSpec& v : file.Variables) rows.push_back(TableRowTexts(v));

    FunctionParser parser;
    AddSpiral(parser);
    const FunctionPageReading page =
        ReadFunctionTexts(*file.Formula, *file.Maximize, rows, params, parser);
    switch (page.Result) {
        case PageReadResult::Ok:
            break;
        case PageReadResult::Stopped:
            throw BatchInputError(path + ": " + page.Error);
        case PageReadResult::CompileError:
            throw BatchInputError(path + ": " + page.Notices.back());
    }
    for (const VariableSpec& v : params.Variables()) {
        // Also refuses bounds that do not compare at all.
        if (!(v.Max > v.Min)) {
            throw BatchInputError(path + ": the maximum of variable " + v.Name +
                                  " must be greater than its minimum");
        }
    }
    return BatchProblem{*file.FunctionName, *file.Formula};
}

}  // namespace quarmel
