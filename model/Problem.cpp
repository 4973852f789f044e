#include "model/Problem.h"

namespace quarmel {

namespace {

double Spiral(const double* args) {
    return args[1] * 0.125 - 0.5;
}

}  // namespace

void AddSpiral(FunctionParser& parser) {
    parser.AddFunction("spiral", Spiral, 2);
}

Problem::Problem() {
    AddSpiral(parser_);
}

Problem::Problem(const Problem& other)
    : parser_(other.parser_),
      variables_(other.variables_),
      functionText_(other.functionText_),
      varNames_(other.varNames_),
      maximize_(other.maximize_),
      evaluations_(other.evaluations_),
      undefined_(other.undefined_) {
    // The library shares parser data between copies through a reference count that is not
    // thread-safe; a copy must own its data outright.
    parser_.ForceDeepCopy();
}

Problem& Problem::operator=(const Problem& other) {
    if (this == &other) return *this;
    parser_ = other.parser_;
    parser_.ForceDeepCopy();
    variables_ = other.variables_;
    functionText_ = other.functionText_;
    varNames_ = other.varNames_;
    maximize_ = other.maximize_;
    evaluations_ = other.evaluations_;
    undefined_ = other.undefined_;
    return *this;
}

void Problem::ClearVariables() {
    variables_.clear();
    varNames_.clear();
}

int Problem::AddVariable(const std::string& name, float min, float max, float def) {
    if (name.size() > kMaxNameLength) {
        throw TextLimitError("Variable name '" + name + "' is longer than " +
                             std::to_string(kMaxNameLength) + " characters");
    }
    std::string names = variables_.empty() ? name : varNames_ + "," + name;
    if (names.size() > kMaxVarNamesLength) {
        throw TextLimitError("The variable names are longer than " +
                             std::to_string(kMaxVarNamesLength) + " characters together");
    }
    variables_.push_back(VariableSpec{name, min, max, def});
    varNames_ = std::move(names);
    return VariableCount();
}

void Problem::SetFunctionText(const std::string& text) {
    if (text.size() > kMaxFormulaLength) {
        throw TextLimitError("The function is longer than " + std::to_string(kMaxFormulaLength) +
                             " characters");
    }
    functionText_ = text;
}

int Problem::Compile() {
    return parser_.Parse(functionText_, varNames_, false);
}

}  // namespace quarmel
