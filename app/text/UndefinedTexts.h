#pragma once

#include <string>

namespace quarmel {

// The formula library gives 0 where a formula is undefined and flags the evaluation with an
// error code; these texts tell the user so, since the 0 itself looks like any other value.

// The note beside a value evaluated with the error code `evalError` (the parser's EvalError),
// short enough for the value's label: "undefined, counted as 0"; empty for a defined value (code
// 0). The reason says why: "undefined here: division by zero".
std::string UndefinedValueNote(int evalError);
std::string UndefinedValueReason(int evalError);

// "412 of 1,225,601 evaluations undefined, counted as 0"; empty when none was undefined.
std::string UndefinedCountText(unsigned long long undefined, unsigned long long evaluations);
// The same, short enough for a corner of the status line: "412 undefined"; empty for none.
std::string UndefinedShortText(unsigned long long undefined);

}  // namespace quarmel
