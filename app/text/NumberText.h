#pragma once

#include <stdexcept>
#include <string>

namespace quarmel {

// Conversions between numbers and texts. The window shows and reads numbers with the decimal
// comma; the printf-style forms ("%2.3g", the data file's "%lg") always use ".". None of these
// depend on the process locale.

// A text that had to be a number and is not. what() is the window's conversion message, for
// example "'abc' is not a valid floating point value"; the error display adds the full stop.
class ConversionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// "'%s' is not a valid floating point value" and "'%s' is not a valid integer value".
std::string FloatConversionMessage(const std::string& text);
std::string IntConversionMessage(const std::string& text);

// A window text as a number with the decimal comma: optional blanks around, an optional sign,
// digits with at most one ",", an optional exponent ("1,5E-3"). Anything else, "." included,
// throws ConversionError naming the text.
double TextToFloat(const std::string& text);

// A window text as a whole decimal number (optional blanks around, optional sign) that fits a
// 32-bit int; otherwise throws ConversionError naming the text.
int TextToInt(const std::string& text);

// General number format with `digits` significant digits and the decimal comma: fixed notation
// when the rounded value has at most `digits` digits before the separator and is at least
// 0.00001 in size, otherwise exponent notation ("1,235E7", "1E-6"); trailing zeros dropped.
// Not-a-number and infinities give "NAN", "INF" and "-INF".
std::string GeneralText(double value, int digits);

// The shortest text of a number: general format with 15 significant digits ("0,037", "1").
inline std::string ShortestText(double value) {
    return GeneralText(value, 15);
}

// printf "%.<precision>g" with "." whatever the locale ("%lg" is precision 6).
std::string PrintfG(double value, int precision = 6);

// printf "%2.3g": the function value shown by Calculate ("31", "1.5e+03", " 5").
std::string FuncValueText(double value);

}  // namespace quarmel
