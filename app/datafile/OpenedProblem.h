#pragma once

#include <string>
#include <vector>

#include "app/datafile/DataFile.h"
#include "app/text/FunctionPageTexts.h"
#include "model/Problem.h"

namespace quarmel {

// The data rows of the variables table as Open fills them: the file's variables in order, each
// as 4-digit texts (TableRowTexts).
std::vector<VariableRowTexts> OpenedTableRows(const DataFileReading& file);

// What Open does with a data file it read: only a file read whole goes into the window
// (caption, Function page, solutions, chart), and the Function page is then read as the new
// problem. Any other file changes nothing in the window and is only reported: a number that did
// not convert in the error box, anything else in a message.
enum class OpenNotice { None, Message, ErrorBox };
struct OpenDecision {
    bool Apply = false;                    // the window takes the file and reads the page
    OpenNotice Notice = OpenNotice::None;  // how reading.Message is shown
};
OpenDecision DecideOpen(const DataFileReading& reading);

// The problem of a data file as the window holds it after Open, with the texts its edits show.
struct OpenedProblem {
    std::string Error;         // empty when the problem was read and can be run
    std::string FunctionName;  // as the name edit shows it
    std::string Formula;       // as the formula edit shows it: what a Save writes
    bool Ok() const { return Error.empty(); }
};

// Reads the data file at `path` into `problem` (its variables, formula and direction) the way
// the window reads its Function page after Open: the values rounded to 4 significant digits,
// only the variables the formula uses, the formula normalised and compiled. The file's solutions
// are checked as Open checks them but not kept. Error says why when the file cannot be read, a text
// does not convert or is over its limit, the formula does not compile, or a variable leaves no room
// to move.
OpenedProblem OpenProblem(const std::string& path, Problem& problem);

}  // namespace quarmel
