#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/text/FunctionPageTexts.h"
#include "model/Problem.h"
#include "model/Solution.h"

namespace quarmel {

// The data file: one problem and the solutions of the last run, as plain text with "#" comment
// lines and key=value lines. Numbers always use "." whatever the process locale.

// What Save writes.
struct DataFileContents {
    std::string FunctionName;  // the name as typed
    std::string Formula;       // the formula as typed; written with every "," turned into "."
    bool Maximize = false;
    std::vector<VariableSpec> Variables;  // the Problem's variables, in its order
    SolutionList Solutions;               // each with one value per variable
};

// The file's text, line by line as Save writes it, each line ended by "\n".
std::string DataFileText(const DataFileContents& contents);

struct SaveResult {
    bool Ok = false;
    std::string Error;  // why the file was not saved, for a message box
};

// Writes the file to a temporary file beside `path` and renames it over `path` only when all of
// it was written and flushed to disk, so a failed save leaves any previous file as it was
// (WriteFileAtomically says which files are refused). Refuses, writing nothing, when a solution
// does not hold one value per variable or the function name would not read back (a word "#" of
// its own, or a word longer than the reader takes).
[[nodiscard]] SaveResult SaveDataFile(const std::string& path, const DataFileContents& contents);

enum class DataFileError {
    None,
    CannotOpen,   // not a readable regular file
    WrongFormat,  // Message is "Wrong file format !"
    Conversion,   // a count is not a whole number: Message is the conversion message, for the
                  // error display (which adds the full stop)
    Limit,        // too many variables or a text over its limit: Message is ours
};

// What the reader took from a file. Each part is present once it was read in full; on an error
// the parts before it are there, and the variables and solutions read so far, in order (the
// window takes only a reading without error). The solutions are never checked against the
// problem.
struct DataFileReading {
    DataFileError Error = DataFileError::None;
    std::string Message;
    // The program's name is among the first 10 tokens: the window then names the file in its
    // caption. Without it nothing else is read.
    bool HeaderFound = false;
    std::optional<std::string> FunctionName;  // each word followed by one blank
    std::optional<std::string> Formula;       // no white space; every "," turned into "."
    std::optional<bool> Maximize;
    std::optional<int> VariableCount;  // as announced (0 to kMaxVariables)
    std::vector<VariableSpec> Variables;
    std::optional<int> SolutionCount;  // as announced; 0 or less means none
    SolutionList Solutions;

    bool Ok() const { return Error == DataFileError::None; }
};

extern const char* const kWrongFileFormatMessage;  // "Wrong file format !"

// Whether a reading keeps the file's solutions or only checks them (a reader that uses only the
// problem then holds nothing for them, and still refuses the files a full reading refuses).
enum class SolutionReading { Keep, Skip };

// Reads a data file's text. White space of any kind (CR LF line ends included) only separates
// tokens. Never reads past the text, never loops without consuming it.
DataFileReading ReadDataText(std::string_view text,
                             SolutionReading solutions = SolutionReading::Keep);

// The largest data file the reader takes: 256 MB. Reading one holds its text once, and its
// solutions as their numbers (a float each, one block for all).
constexpr std::uint64_t kMaxDataFileBytes = 256ull << 20;

// Reads the data file at `path` (a regular file only, so a device or a pipe cannot hold it up).
// A file that is missing, not readable, a folder or not a regular file, over kMaxDataFileBytes,
// or one that cannot be read to its end, is CannotOpen with a message saying why.
DataFileReading ReadDataFile(const std::string& path,
                             SolutionReading solutions = SolutionReading::Keep);

// A variable's cells as Open puts them into the table: general format with 4 significant digits
// and the decimal comma, so the values come back rounded when the page is read again.
VariableRowTexts TableRowTexts(const VariableSpec& variable);

}  // namespace quarmel
