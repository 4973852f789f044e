#include "app/datafile/OpenedProblem.h"

#include "app/runs/RunProgress.h"

namespace quarmel {

std::vector<VariableRowTexts> OpenedTableRows(const DataFileReading& file) {
    std::vector<VariableRowTexts> rows;
    for (const VariableSpec& v : file.Variables) rows.push_back(TableRowTexts(v));
    return rows;
}

OpenedProblem OpenProblem(const std::string& path, Problem& problem) {
    OpenedProblem opened;
    const DataFileReading file = ReadDataFile(path, SolutionReading::Skip);
    if (!file.Ok()) {
        opened.Error = file.Message;
        return opened;
    }
    FunctionParser parser;
    AddSpiral(parser);
    const FunctionPageReading page =
        ReadFunctionTexts(*file.Formula, *file.Maximize, OpenedTableRows(file), problem, parser);
    switch (page.Result) {
        case PageReadResult::Ok:
            opened.Error = UnusableRangeMessage(problem);
            break;
        case PageReadResult::Stopped:
            opened.Error = page.Error;
            break;
        case PageReadResult::CompileError:
            opened.Error = page.Notices.back();
            break;
    }
    opened.FunctionName = *file.FunctionName;
    opened.Formula = *file.Formula;
    return opened;
}

OpenDecision DecideOpen(const DataFileReading& reading) {
    OpenDecision d;
    if (reading.Ok() && reading.HeaderFound) {
        d.Apply = true;
    } else {
        d.Notice =
            reading.Error == DataFileError::Conversion ? OpenNotice::ErrorBox : OpenNotice::Message;
    }
    return d;
}

}  // namespace quarmel
