#pragma once

#include <fparser.hh>

#include <cstddef>
#include <string>
#include <vector>

#include "model/Problem.h"

namespace quarmel {

// The plain side of reading the Function page: the texts the user typed in, the Problem out.
// The window keeps its controls, the axis lists and LastFormula; everything else is here.

// Messages of the page, as the window shows them.
extern const char* const kIncompleteRowMessage;  // "Niekompletne dane wejsciowe !"
extern const char* const kFormulaErrorPrefix;    // "Bląd w funkcji. Kolumna: "

// Longest number cell (Min, Max, Value) the table takes.
constexpr std::size_t kMaxNumberCellLength = 51;

// The formula as the parser takes it: every "," becomes "." and every ";" becomes ",", each
// character looked at once. The length stays, so parser positions count typed characters.
std::string NormaliseFormula(std::string text);

// A number cell as the decimal-comma conversion takes it: every "." becomes ",".
std::string NormaliseNumber(std::string text);

// Whether some occurrence of `word` in `text` is followed by one of the delimiters
// "()+-=*/^%! |&<>;" or by the end of the text. What stands before an occurrence is not looked
// at. An empty word never counts.
bool OccursBeforeDelimiter(const std::string& text, const std::string& word);

// Whether the formula, as typed, uses the built-in function "spiral".
inline bool FormulaUsesSpiral(const std::string& formula) {
    return OccursBeforeDelimiter(formula, "spiral");
}

// Whether a row of the variables table names a variable of the formula (as typed). Rows that
// are not used are left out silently, whatever their number cells hold.
inline bool IsVariableUsed(const std::string& formula, const std::string& name) {
    return OccursBeforeDelimiter(formula, name);
}

// The texts of one data row of the variables table.
struct VariableRowTexts {
    std::string Name;
    std::string Min;
    std::string Max;
    std::string Value;  // the default
};

enum class PageReadResult {
    Ok,            // the Problem is built and the formula compiled
    Stopped,       // a number cell did not convert, or a text was over its limit: see Error
    CompileError,  // the formula did not compile: the last Notice says where and why
};

struct FunctionPageReading {
    PageReadResult Result = PageReadResult::Ok;
    // Messages for plain message boxes, in order: kIncompleteRowMessage once per used row with
    // an empty number cell (the row is left out, the reading goes on), then, on CompileError,
    // "Bląd w funkcji. Kolumna: " + position + " : " + the parser's message.
    std::vector<std::string> Notices;
    // On Stopped, the message for the error display (which adds the full stop): the conversion
    // message naming the text, or ours naming the row and the limit.
    std::string Error;
    // Whether the formula uses "spiral"; set whatever the outcome.
    bool UsesSpiral = false;
    // True once every row has been read into the Problem's variables: the window then fills its
    // axis lists from them (also on CompileError, and on a formula over its limit).
    bool VariablesRead = false;
    // The formula as compiled (valid once VariablesRead is true).
    std::string NormalisedFormula;
    // Parser position of a compile error, else -1.
    int ErrorPosition = -1;
};

// Reads the page's texts into `problem` and compiles the formula with `parser` (the window's
// own parser, which has "spiral"):
// - the Problem's variables are rebuilt from the used rows in order (rows are the data rows of
//   the table, row 1 first); a used row with an empty number cell is reported and left out;
//   a cell is normalised (NormaliseNumber) and converted with the decimal comma;
// - a number cell that does not convert, a name over 19 characters, names over 199 characters
//   together, a number cell over 51 characters or a formula over 199 characters stop the
//   reading: Result is Stopped and the variables read so far stay in the Problem;
// - the normalised formula is compiled against the variable names (angles in radians);
// - on success the Problem's FunctionText becomes the normalised formula and its direction
//   `maximize`; on a compile error neither changes.
// Settings, LastFormula and the evaluation at the default point are left to the caller.
FunctionPageReading ReadFunctionTexts(const std::string& formula, bool maximize,
                                      const std::vector<VariableRowTexts>& rows, Problem& problem,
                                      FunctionParser& parser);

// Results belong to the formula they were made with: a formula read that differs from it makes
// them stale.
inline bool ResultsGoStale(const std::string& resultsFormula, const std::string& readFormula) {
    return readFormula != resultsFormula;
}

// Evaluates a compiled parser at the variables' defaults (in the Problem's order). The
// caption of Calculate is FuncValueText of it.
double EvaluateAtDefaults(FunctionParser& parser, const Problem& problem);

}  // namespace quarmel
