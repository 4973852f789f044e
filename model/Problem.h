#pragma once

#include <fparser.hh>

#include <stdexcept>
#include <string>
#include <vector>

namespace quarmel {

// Longest texts a problem holds: the record's fields are 20 and 200 bytes, zero-terminated.
constexpr std::size_t kMaxNameLength = 19;
constexpr std::size_t kMaxFormulaLength = 199;
constexpr std::size_t kMaxVarNamesLength = 199;
// Most variables a problem holds: the data rows of the variables table.
constexpr int kMaxVariables = 19;

// A text over its limit; what() is a message the window can show as it stands.
class TextLimitError : public std::length_error {
  public:
    using std::length_error::length_error;
};

struct VariableSpec {
    std::string Name;
    float Min = 0.0f;
    float Max = 0.0f;
    float Default = 0.0f;
};

// A formula in named variables, their ranges and defaults, and the direction of optimisation,
// with a parser of its own. Copies get an independent, deep-copied parser, so a copy may be
// handed to another thread.
class Problem {
  public:
    Problem();
    Problem(const Problem& other);
    Problem& operator=(const Problem& other);
    Problem(Problem&&) = delete;
    Problem& operator=(Problem&&) = delete;
    ~Problem() = default;

    // Variables, in the order of a Solution's Values and of the evaluation array.
    void ClearVariables();
    // Appends a variable and returns the new count. Throws TextLimitError when the name or the
    // joined name list would pass its limit; the problem is then unchanged.
    int AddVariable(const std::string& name, float min, float max, float def);
    int VariableCount() const { return static_cast<int>(variables_.size()); }
    const std::vector<VariableSpec>& Variables() const { return variables_; }
    const VariableSpec& Variable(int i) const { return variables_[i]; }
    const std::string& VariableName(int i) const { return variables_[i].Name; }
    float VariableMin(int i) const { return variables_[i].Min; }
    float VariableMax(int i) const { return variables_[i].Max; }
    float VariableDefault(int i) const { return variables_[i].Default; }

    // The formula in the parser's syntax. Throws TextLimitError past the limit (unchanged then).
    void SetFunctionText(const std::string& text);
    const std::string& FunctionText() const { return functionText_; }
    // The variable names joined by ",".
    const std::string& VarNames() const { return varNames_; }

    bool Maximize() const { return maximize_; }
    void SetMaximize(bool maximize) { maximize_ = maximize; }

    // Compiles FunctionText against VarNames (angles in radians): -1 on success, otherwise the
    // position of the error, with ErrorMsg() the parser's message.
    int Compile();
    const char* ErrorMsg() const { return parser_.ErrorMsg(); }
    // Evaluates the compiled formula at one double per variable, in Variables order. The
    // parser's number is the value, also where the formula is undefined (the parser then gives
    // 0 and flags an evaluation error, or the value is not a number): such evaluations are only
    // counted.
    double Eval(const double* values) {
        ++evaluations_;
        const double value = parser_.Eval(values);
        // A flagged evaluation always gives 0, so only a 0 asks the library for its error code:
        // the common case pays a comparison, not a call.
        if (value == 0.0) {
            undefined_ += parser_.EvalError() != 0;
        } else if (value != value) {
            ++undefined_;  // not a number (sin of an infinity): undefined, though never flagged
        }
        return value;
    }
    // Evaluations made through this object, and how many of them were undefined (flagged by
    // the parser or not a number; copies carry the counts on).
    unsigned long long Evaluations() const { return evaluations_; }
    unsigned long long UndefinedEvaluations() const { return undefined_; }

    FunctionParser& Parser() { return parser_; }

  private:
    FunctionParser parser_;
    std::vector<VariableSpec> variables_;
    std::string functionText_;
    std::string varNames_;
    bool maximize_ = false;
    unsigned long long evaluations_ = 0;
    unsigned long long undefined_ = 0;
};

// Registers "spiral" (two arguments; the second times 0.125 minus 0.5) in a parser. Every
// parser the program creates has it.
void AddSpiral(FunctionParser& parser);

}  // namespace quarmel
