#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "app/DecimalCommaLocale.h"
#include "app/text/NumberText.h"

using namespace quarmel;

namespace {

std::string FloatError(const std::string& text) {
    try {
        TextToFloat(text);
    } catch (const ConversionError& e) {
        return e.what();
    }
    return "no error";
}

std::string IntError(const std::string& text) {
    try {
        TextToInt(text);
    } catch (const ConversionError& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace

TEST(TextToFloat, ReadsTheDecimalCommaWithBlanksSignAndExponent) {
    EXPECT_DOUBLE_EQ(TextToFloat("0,05"), 0.05);
    EXPECT_DOUBLE_EQ(TextToFloat("  -1,5E3 "), -1500.0);
    EXPECT_DOUBLE_EQ(TextToFloat("+2e-2"), 0.02);
    EXPECT_DOUBLE_EQ(TextToFloat(",5"), 0.5);
    EXPECT_DOUBLE_EQ(TextToFloat("7,"), 7.0);
    EXPECT_DOUBLE_EQ(TextToFloat("-50"), -50.0);
    // Too small to hold is zero, not an error.
    EXPECT_EQ(TextToFloat("1e-400"), 0.0);
}

TEST(TextToFloat, RefusesWhatIsNotANumberWithTheTextInTheMessage) {
    EXPECT_EQ(FloatError("0.5"), "'0.5' is not a valid floating point value");
    EXPECT_EQ(FloatError(""), "'' is not a valid floating point value");
    EXPECT_EQ(FloatError("abc"), "'abc' is not a valid floating point value");
    for (const char* bad :
         {",", "-", "1,5,5", "1e", "1e+", "inf", "nan", "1 2", "1e400", "--1", "0x10", "5x"}) {
        EXPECT_THROW(TextToFloat(bad), ConversionError) << bad;
    }
}

TEST(TextToInt, ReadsWholeDecimalNumbersThatFitAnInt) {
    EXPECT_EQ(TextToInt("200"), 200);
    EXPECT_EQ(TextToInt(" -5 "), -5);
    EXPECT_EQ(TextToInt("+7"), 7);
    EXPECT_EQ(TextToInt("2147483647"), 2147483647);
    EXPECT_EQ(TextToInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(IntError("1,5"), "'1,5' is not a valid integer value");
    for (const char* bad : {"", "-", "+", "+-3", "2147483648", "1e3", "12a", "0,0"}) {
        EXPECT_THROW(TextToInt(bad), ConversionError) << bad;
    }
}

TEST(GeneralText, FourDigitsAsTheTableShowsReadValues) {
    EXPECT_EQ(GeneralText(0.123456f, 4), "0,1235");
    EXPECT_EQ(GeneralText(-50.0f, 4), "-50");
    EXPECT_EQ(GeneralText(0.0f, 4), "0");
    EXPECT_EQ(GeneralText(9999.0, 4), "9999");
    // Five digits before the separator do not fit four: exponent notation.
    EXPECT_EQ(GeneralText(12345.0, 4), "1,235E4");
    // Halves round away from zero.
    EXPECT_EQ(GeneralText(1234.5, 4), "1235");
    EXPECT_EQ(GeneralText(-0.125, 2), "-0,13");
    EXPECT_EQ(GeneralText(-120000.0, 4), "-1,2E5");
    // Rounding that carries into a fifth digit also switches to exponent notation.
    EXPECT_EQ(GeneralText(99996.0, 4), "1E5");
    EXPECT_EQ(GeneralText(9999.7, 4), "1E4");
    // At least 0.00001 in size: fixed; below: exponent.
    EXPECT_EQ(GeneralText(0.00001f, 4), "0,00001");
    EXPECT_EQ(GeneralText(0.0000123, 4), "0,0000123");
    EXPECT_EQ(GeneralText(0.000001, 4), "1E-6");
    EXPECT_EQ(GeneralText(-2.5e-7, 6), "-2,5E-7");
}

TEST(GeneralText, SixSevenAndFifteenDigits) {
    EXPECT_EQ(GeneralText(3.14159265, 6), "3,14159");
    EXPECT_EQ(GeneralText(1234567.0, 6), "1,23457E6");
    EXPECT_EQ(GeneralText(1234567.0, 7), "1234567");
    EXPECT_EQ(GeneralText(31.0f, 7), "31");
    EXPECT_EQ(ShortestText(37 * 0.001), "0,037");
    EXPECT_EQ(ShortestText(100 * 0.01), "1");
    EXPECT_EQ(ShortestText(-2.5), "-2,5");
    EXPECT_EQ(ShortestText(1e20), "1E20");
    // A float widened shows its binary value to 15 digits.
    EXPECT_EQ(ShortestText(0.1f), "0,100000001490116");
}

TEST(GeneralText, NotANumberAndInfinities) {
    EXPECT_EQ(GeneralText(std::nan(""), 6), "NAN");
    EXPECT_EQ(GeneralText(std::numeric_limits<double>::infinity(), 6), "INF");
    EXPECT_EQ(GeneralText(-std::numeric_limits<double>::infinity(), 6), "-INF");
}

TEST(GeneralText, ReadsBackAsTheRoundedValue) {
    for (double v : {0.123456, -98765.4321, 1.5e-9, 3.0e12, 0.5, -0.00001}) {
        const double back = TextToFloat(GeneralText(v, 4));
        EXPECT_NEAR(back, v, std::fabs(v) * 5e-4) << v;
    }
}

TEST(PrintfForms, MatchPrintfRulesWithAPoint) {
    EXPECT_EQ(FuncValueText(31.0), "31");
    EXPECT_EQ(FuncValueText(1500.0), "1.5e+03");
    EXPECT_EQ(FuncValueText(5.0), " 5");
    EXPECT_EQ(FuncValueText(-0.5), "-0.5");
    EXPECT_EQ(FuncValueText(0.00012345), "0.000123");
    EXPECT_EQ(FuncValueText(0.000012345), "1.23e-05");
    EXPECT_EQ(FuncValueText(999.0), "999");
    EXPECT_EQ(PrintfG(0.123456f), "0.123456");
    EXPECT_EQ(PrintfG(-50.0f), "-50");
    EXPECT_EQ(PrintfG(1234567.0), "1.23457e+06");
    EXPECT_EQ(PrintfG(1e-5), "1e-05");
    EXPECT_EQ(PrintfG(100000.0), "100000");
    EXPECT_EQ(PrintfG(1.0 / 3.0, 9), "0.333333333");
    EXPECT_EQ(PrintfG(std::numeric_limits<double>::infinity()), "inf");
}

TEST(NumberTextLocale, TextsDoNotFollowTheProcessLocale) {
    DecimalCommaLocale locale;
    ASSERT_TRUE(locale.Ok()) << "could not switch to a decimal-comma locale";
    EXPECT_EQ(PrintfG(0.5), "0.5");
    EXPECT_EQ(FuncValueText(1500.0), "1.5e+03");
    EXPECT_EQ(GeneralText(0.25, 4), "0,25");
    EXPECT_DOUBLE_EQ(TextToFloat("0,25"), 0.25);
    EXPECT_THROW(TextToFloat("0.25"), ConversionError);
}
