#include "app/text/FunctionPageTexts.h"

#include <cstring>

#include "app/text/NumberText.h"

namespace quarmel {

const char* const kIncompleteRowMessage = "Niekompletne dane wejsciowe !";
const char* const kFormulaErrorPrefix = "Bląd w funkcji. Kolumna: ";

namespace {

const char kDelimiters[] = "()+-=*/^%! |&<>;";

bool IsDelimiter(char c) {
    return c != '\0' && std::strchr(kDelimiters, c) != nullptr;
}

std::string RowLabel(std::size_t index) {
    return "Row " + std::to_string(index + 1) + ": ";
}

}  // namespace

std::string NormaliseFormula(std::string text) {
    for (char& c : text) {
        if (c == ',') {
            c = '.';
        } else if (c == ';') {
            c = ',';
        }
    }
    return text;
}

std::string NormaliseNumber(std::string text) {
    for (char& c : text) {
        if (c == '.') c = ',';
    }
    return text;
}

bool OccursBeforeDelimiter(const std::string& text, const std::string& word) {
    if (word.empty()) return false;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const std::size_t end = at + word.size();
        if (end == text.size() || IsDelimiter(text[end])) return true;
    }
    return false;
}

FunctionPageReading ReadFunctionTexts(const std::string& formula, bool maximize,
                                      const std::vector<VariableRowTexts>& rows, Problem& problem,
                                      FunctionParser& parser) {
    FunctionPageReading reading;
    problem.ClearVariables();
    reading.UsesSpiral = FormulaUsesSpiral(formula);

    for (std::size_t r = 0; r < rows.size(); ++r) {
        const VariableRowTexts& row = rows[r];
        if (!IsVariableUsed(formula, row.Name)) continue;
        if (row.Min.empty() || row.Max.empty() || row.Value.empty()) {
            reading.Notices.push_back(kIncompleteRowMessage);
            continue;
        }
        float cells[3];
        const std::string* texts[3] = {&row.Min, &row.Max, &row.Value};
        for (int c = 0; c < 3; ++c) {
            if (texts[c]->size() > kMaxNumberCellLength) {
                reading.Result = PageReadResult::Stopped;
                reading.Error = RowLabel(r) + "a number is longer than " +
                                std::to_string(kMaxNumberCellLength) + " characters";
                return reading;
            }
            try {
                cells[c] = static_cast<float>(TextToFloat(NormaliseNumber(*texts[c])));
            } catch (const ConversionError& e) {
                reading.Result = PageReadResult::Stopped;
                reading.Error = e.what();
                return reading;
            }
        }
        try {
            problem.AddVariable(row.Name, cells[0], cells[1], cells[2]);
        } catch (const TextLimitError& e) {
            reading.Result = PageReadResult::Stopped;
            reading.Error = RowLabel(r) + e.what();
            return reading;
        }
    }
    reading.VariablesRead = true;
    reading.NormalisedFormula = NormaliseFormula(formula);

    if (formula.size() > kMaxFormulaLength) {
        reading.Result = PageReadResult::Stopped;
        reading.Error =
            "The function is longer than " + std::to_string(kMaxFormulaLength) + " characters";
        return reading;
    }

    const int position = parser.Parse(reading.NormalisedFormula, problem.VarNames(), false);
    if (position >= 0) {
        reading.Result = PageReadResult::CompileError;
        reading.ErrorPosition = position;
        reading.Notices.push_back(kFormulaErrorPrefix + std::to_string(position) + " : " +
                                  parser.ErrorMsg());
        return reading;
    }
    problem.SetFunctionText(reading.NormalisedFormula);
    problem.SetMaximize(maximize);
    return reading;
}

double EvaluateAtDefaults(FunctionParser& parser, const Problem& problem) {
    std::vector<double> values;
    values.reserve(problem.Variables().size());
    for (const VariableSpec& v : problem.Variables()) values.push_back(v.Default);
    return parser.Eval(values.data());
}

}  // namespace quarmel
