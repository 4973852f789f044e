#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "app/DecimalCommaLocale.h"
#include "app/datafile/DataFile.h"

using namespace quarmel;

namespace {

DataFileContents StartContents() {
    DataFileContents c;
    c.FunctionName = "Example 1";
    c.Formula = "x^2 + ( y - 2 ) ^ 2 + 3 * c ";
    c.Variables = {{"x", -50, 50, 0}, {"y", -40, 40, 6}, {"c", 1, 15, 5}};
    c.Solutions.Append(Solution{{1.5f, 2.0f, 3.0f}, 11.25f});
    c.Solutions.Append(Solution{{-0.125f, 6.0f, 5.0f}, 31.015625f});
    return c;
}

const char kStartText[] =
    "# data file for Quarmel\n"
    "# Example 1\n"
    "\n"
    "# formula\n"
    "f=x^2 + ( y - 2 ) ^ 2 + 3 * c \n"
    "\n"
    "# 1 for maximization, 0 for minimization\n"
    "max=0 \n"
    "\n"
    "# number of variables\n"
    "vars=3 \n"
    "\n"
    "# variables: name, min, max, default\n"
    "x,-50,50,0\n"
    "y,-40,40,6\n"
    "c,1,15,5\n"
    "\n"
    "# number of solutions\n"
    "sols=2\n"
    "\n"
    "# solutions - comma-delimited values list for variables and value of function (last)\n"
    "1.5,2,3,11.25\n"
    "-0.125,6,5,31.0156\n";

// The text with one line replaced (the first line that starts with `start`).
std::string Replaced(std::string text, const std::string& start, const std::string& line) {
    const std::size_t at = text.find("\n" + start) + 1;
    const std::size_t end = text.find('\n', at);
    return text.replace(at, end - at, line);
}

void ExpectSameSolutions(const SolutionList& a, const SolutionList& b) {
    ASSERT_EQ(a.Count(), b.Count());
    for (std::size_t i = 0; i < a.Count(); ++i) {
        EXPECT_EQ(a.At(i).Values, b.At(i).Values) << i;
        EXPECT_EQ(a.At(i).Value, b.At(i).Value) << i;
    }
}

}  // namespace

TEST(DataFileWriter, WritesTheLinesExactly) {
    EXPECT_EQ(DataFileText(StartContents()), kStartText);
}

TEST(DataFileWriter, FormulaCommasBecomePointsAndNothingElseChanges) {
    DataFileContents c = StartContents();
    c.Formula = "atan2(x;y) + 1,5 * c";
    c.Maximize = true;
    const std::string text = DataFileText(c);
    EXPECT_NE(text.find("\nf=atan2(x;y) + 1.5 * c\n\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nmax=1 \n\n"), std::string::npos) << text;
}

TEST(DataFileWriter, NoSolutionsWritesTheCountAndNoComment) {
    DataFileContents c = StartContents();
    c.Solutions.Clear();
    const std::string text = DataFileText(c);
    const std::string tail = "c,1,15,5\n\n# number of solutions\nsols=0\n\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST(DataFileWriter, NumbersInPrintfGeneralFormWithSixDigits) {
    DataFileContents c;
    c.Variables = {{"v", -1234567.0f, 0.000012345f, 0.123456f}};
    const std::string text = DataFileText(c);
    EXPECT_NE(text.find("\nv,-1.23457e+06,1.2345e-05,0.123456\n"), std::string::npos) << text;
}

TEST(DataFileRoundTrip, WrittenFileReadsBackAsTheWindowShowsIt) {
    DataFileContents c = StartContents();
    c.FunctionName = "Two  blanks";
    c.Maximize = true;
    c.Variables[2].Default = 0.123456f;
    const DataFileReading r = ReadDataText(DataFileText(c));
    ASSERT_TRUE(r.Ok()) << r.Message;
    EXPECT_TRUE(r.HeaderFound);
    EXPECT_EQ(r.FunctionName, "Two blanks ");
    EXPECT_EQ(r.Formula, "x^2+(y-2)^2+3*c");
    EXPECT_EQ(r.Maximize, true);
    EXPECT_EQ(r.VariableCount, 3);
    ASSERT_EQ(r.Variables.size(), 3u);
    const VariableRowTexts x = TableRowTexts(r.Variables[0]);
    EXPECT_EQ(x.Name, "x");
    EXPECT_EQ(x.Min, "-50");
    EXPECT_EQ(x.Max, "50");
    EXPECT_EQ(x.Value, "0");
    EXPECT_EQ(TableRowTexts(r.Variables[2]).Value, "0,1235");
    EXPECT_EQ(r.SolutionCount, 2);
    // "%lg" keeps six digits: 31.015625 comes back as 31.0156.
    SolutionList expected = c.Solutions;
    expected.At(1).Value = 31.0156f;
    ExpectSameSolutions(r.Solutions, expected);
}

TEST(DataFileRoundTrip, FormulaWithCommaAndSemicolonComesBackWithPointAndSemicolon) {
    DataFileContents c = StartContents();
    c.Formula = "atan2( x ; y ) + 1,5 * c";
    EXPECT_EQ(ReadDataText(DataFileText(c)).Formula, "atan2(x;y)+1.5*c");
}

TEST(DataFileRoundTrip, EmptyNameAndNotANumberValues) {
    DataFileContents c = StartContents();
    c.FunctionName = "";
    const float inf = std::numeric_limits<float>::infinity();
    c.Solutions.Append(Solution{{inf, -inf, 1.0f}, std::nanf("")});
    const DataFileReading r = ReadDataText(DataFileText(c));
    ASSERT_TRUE(r.Ok()) << r.Message;
    EXPECT_EQ(r.FunctionName, "");
    ASSERT_EQ(r.Solutions.Count(), 3u);
    EXPECT_EQ(r.Solutions.At(2).Values[0], inf);
    EXPECT_EQ(r.Solutions.At(2).Values[1], -inf);
    EXPECT_TRUE(std::isnan(r.Solutions.At(2).Value));
}

TEST(DataFileReader, WhiteSpaceOfAnyKindOnlySeparates) {
    std::string crlf;
    for (char ch : std::string(kStartText))
        crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    std::string loose = kStartText;
    for (std::size_t at = 0; (at = loose.find(' ', at)) != std::string::npos; at += 3) {
        loose.replace(at, 1, " \t ");
    }
    // A solution may spread over lines as long as each comma follows its number.
    loose = Replaced(loose, "1.5,2,3", "  1.5,\n\t2,\r\n3,  11.25  ");
    const DataFileReading base = ReadDataText(kStartText);
    ASSERT_TRUE(base.Ok());
    for (const std::string& text : {crlf, loose}) {
        const DataFileReading r = ReadDataText(text);
        ASSERT_TRUE(r.Ok()) << r.Message;
        EXPECT_EQ(r.FunctionName, base.FunctionName);
        EXPECT_EQ(r.Formula, base.Formula);
        EXPECT_EQ(r.Maximize, base.Maximize);
        ASSERT_EQ(r.Variables.size(), 3u);
        EXPECT_EQ(r.Variables[1].Name, "y");
        EXPECT_EQ(r.Variables[1].Default, 6.0f);
        ExpectSameSolutions(r.Solutions, base.Solutions);
    }
}

TEST(DataFileReader, ProgramNameMustBeAmongTheFirstTenWords) {
    const std::string body = std::string(kStartText).substr(std::string(kStartText).find('\n'));
    EXPECT_FALSE(ReadDataText("# data file for Other" + body).HeaderFound);
    EXPECT_EQ(ReadDataText("# data file for Other" + body).Message, "Wrong file format !");
    // Tenth word: accepted; eleventh: refused.
    EXPECT_TRUE(ReadDataText("1 2 3 4 5 6 7 8 9 Quarmel" + body).HeaderFound);
    EXPECT_FALSE(ReadDataText("1 2 3 4 5 6 7 8 9 10 Quarmel" + body).HeaderFound);
    // Another program's file naming ours early enough passes the header check.
    const DataFileReading other = ReadDataText("# data file for Other, not Quarmel" + body);
    EXPECT_TRUE(other.HeaderFound);
    // Words are read 20 characters at a time, so a long word ending in the name matches.
    EXPECT_TRUE(ReadDataText(std::string(20, 'x') + "Quarmel" + body).HeaderFound);
    EXPECT_FALSE(ReadDataText(std::string(19, 'x') + "Quarmel" + body).HeaderFound);
    EXPECT_FALSE(ReadDataText("").HeaderFound);
    EXPECT_EQ(ReadDataText("").Error, DataFileError::WrongFormat);
}

TEST(DataFileReader, KeysAreDroppedByLength) {
    std::string text = Replaced(kStartText, "f=", "g:sin(x)");
    text = Replaced(text, "vars=", "VARS:3");
    text = Replaced(text, "sols=", "solz=1");
    const DataFileReading r = ReadDataText(text);
    ASSERT_TRUE(r.Ok()) << r.Message;
    EXPECT_EQ(r.Formula, "sin(x)");
    EXPECT_EQ(r.Solutions.Count(), 1u);
}

TEST(DataFileReader, FileEndingEarlyKeepsWhatWasRead) {
    const std::string full = kStartText;
    auto upTo = [&full](const std::string& what) { return full.substr(0, full.find(what)); };

    DataFileReading r = ReadDataText(upTo("formula"));
    EXPECT_EQ(r.Message, "Wrong file format !");
    EXPECT_EQ(r.FunctionName, "Example 1 ");
    EXPECT_FALSE(r.Formula.has_value());

    r = ReadDataText(upTo("# 1 for"));
    EXPECT_EQ(r.Error, DataFileError::WrongFormat);
    EXPECT_FALSE(r.Formula.has_value());

    r = ReadDataText(upTo("max="));
    EXPECT_EQ(r.Error, DataFileError::WrongFormat);
    EXPECT_EQ(r.Formula, "x^2+(y-2)^2+3*c");
    EXPECT_FALSE(r.Maximize.has_value());

    r = ReadDataText(upTo("variables:"));
    EXPECT_EQ(r.Error, DataFileError::WrongFormat);
    EXPECT_EQ(r.VariableCount, 3);

    r = ReadDataText(upTo("c,1,15"));
    EXPECT_EQ(r.Error, DataFileError::WrongFormat);
    EXPECT_EQ(r.Variables.size(), 2u);

    r = ReadDataText(upTo("# solutions"));
    EXPECT_EQ(r.Error, DataFileError::WrongFormat);
    EXPECT_EQ(r.Variables.size(), 3u);
    EXPECT_EQ(r.SolutionCount, 2);
    EXPECT_EQ(r.Solutions.Count(), 0u);

    r = ReadDataText(upTo("-0.125"));
    EXPECT_EQ(r.Error, DataFileError::WrongFormat);
    EXPECT_EQ(r.Solutions.Count(), 1u);

    r = ReadDataText(upTo("31.0156"));
    EXPECT_EQ(r.Error, DataFileError::WrongFormat);
    EXPECT_EQ(r.Solutions.Count(), 1u);
}

TEST(DataFileReader, EveryPrefixOfAWrittenFileEndsWithoutFault) {
    const std::string full = kStartText;
    for (std::size_t n = 0; n < full.size(); ++n) {
        const DataFileReading r = ReadDataText(full.substr(0, n));
        EXPECT_LE(r.Variables.size(), 3u);
        EXPECT_LE(r.Solutions.Count(), 2u);
        if (r.Ok()) {
            // Only a cut inside the very last number can still read as a whole file.
            EXPECT_GT(n, full.size() - std::string("31.0156\n").size()) << n;
        }
    }
}

TEST(DataFileReader, MalformedVariablesAndSolutions) {
    DataFileReading r = ReadDataText(Replaced(kStartText, "y,-40", "y,-40,40"));
    EXPECT_EQ(r.Error, DataFileError::WrongFormat);
    EXPECT_EQ(r.Variables.size(), 1u);

    r = ReadDataText(Replaced(kStartText, "y,-40", "y"));
    EXPECT_EQ(r.Error, DataFileError::WrongFormat);

    r = ReadDataText(Replaced(kStartText, "y,-40", "y,-40,4o,6"));
    EXPECT_EQ(r.Error, DataFileError::WrongFormat);

    // The comma must follow its number at once.
    r = ReadDataText(Replaced(kStartText, "1.5,2", "1.5 ,2,3,11.25"));
    EXPECT_EQ(r.Error, DataFileError::WrongFormat);
    EXPECT_EQ(r.Solutions.Count(), 0u);

    r = ReadDataText(Replaced(kStartText, "sols=", "sols=3"));
    EXPECT_EQ(r.Error, DataFileError::WrongFormat);
    EXPECT_EQ(r.Solutions.Count(), 2u);

    // A huge announced count with no lines behind it ends at the end of the text.
    r = ReadDataText(Replaced(kStartText, "sols=", "sols=2000000000"));
    EXPECT_EQ(r.Error, DataFileError::WrongFormat);

    r = ReadDataText(Replaced(kStartText, "max=", "max=2"));
    EXPECT_EQ(r.Error, DataFileError::WrongFormat);
    EXPECT_FALSE(r.Maximize.has_value());
}

TEST(DataFileReader, SolutionsCostTheirNumbersOnly) {
    // 1000 one-variable solutions: two floats each, reserved from the announced count; a count
    // the text cannot hold reserves no more than the text could (a number and a separator each).
    std::string text = Replaced(kStartText, "vars=", "vars=1");
    text = Replaced(text, "y,-40", "");
    text = Replaced(text, "c,1,15", "");
    text = Replaced(text, "sols=", "sols=1000");
    text = text.substr(0, text.find("1.5,2,3"));
    for (int i = 0; i < 1000; ++i) text += std::to_string(i) + "," + std::to_string(2 * i) + "\n";
    DataFileReading r = ReadDataText(text);
    ASSERT_TRUE(r.Ok()) << r.Message;
    ASSERT_EQ(r.Solutions.Count(), 1000u);
    EXPECT_EQ(r.Solutions.VarValue(999, 0), 999.0f);
    EXPECT_EQ(r.Solutions.FuncValue(999), 1998.0f);
    EXPECT_LE(r.Solutions.HeldBytes(), 1000u * 2 * sizeof(float));

    r = ReadDataText(Replaced(text, "sols=", "sols=2000000000"));
    EXPECT_EQ(r.Error, DataFileError::WrongFormat);
    EXPECT_EQ(r.Solutions.Count(), 1000u);
    EXPECT_LE(r.Solutions.HeldBytes(), 2 * text.size());
}

TEST(DataFileReader, SkippingSolutionsKeepsNoneAndRefusesWhatAFullReadingRefuses) {
    const DataFileReading full = ReadDataText(kStartText);
    const DataFileReading skipped = ReadDataText(kStartText, SolutionReading::Skip);
    ASSERT_TRUE(skipped.Ok());
    EXPECT_TRUE(skipped.Solutions.Empty());
    EXPECT_EQ(skipped.SolutionCount, full.SolutionCount);
    EXPECT_EQ(skipped.Formula, full.Formula);
    EXPECT_EQ(skipped.Variables.size(), full.Variables.size());
    for (const char* line : {"1.5 ,2,3,11.25", "1.5,2,3"}) {
        EXPECT_EQ(ReadDataText(Replaced(kStartText, "1.5,2", line), SolutionReading::Skip).Error,
                  DataFileError::WrongFormat)
            << line;
    }
}

TEST(DataFileReader, ANumberTakesAtMostOneSign) {
    const struct {
        const char* min;
        bool ok;
        float value;
    } cases[] = {
        {"-40", true, -40}, {"+40", true, 40},  {"+-40", false, 0},
        {"-+40", false, 0}, {"++40", false, 0}, {"--40", false, 0},
    };
    for (const auto& c : cases) {
        const DataFileReading r =
            ReadDataText(Replaced(kStartText, "y,-40", std::string("y,") + c.min + ",40,6"));
        EXPECT_EQ(r.Ok(), c.ok) << c.min;
        if (!c.ok) {
            EXPECT_EQ(r.Error, DataFileError::WrongFormat) << c.min;
        } else if (r.Ok()) {
            EXPECT_EQ(r.Variables[1].Min, c.value) << c.min;
        }
    }
}

TEST(DataFileReader, CountsThatAreNotWholeNumbers) {
    DataFileReading r = ReadDataText(Replaced(kStartText, "vars=", "vars=3.0"));
    EXPECT_EQ(r.Error, DataFileError::Conversion);
    EXPECT_EQ(r.Message, "'3.0' is not a valid integer value");
    EXPECT_TRUE(r.Formula.has_value());
    EXPECT_FALSE(r.VariableCount.has_value());

    r = ReadDataText(Replaced(kStartText, "sols=", "sols="));
    EXPECT_EQ(r.Error, DataFileError::Conversion);
    EXPECT_EQ(r.Message, "'' is not a valid integer value");
    EXPECT_EQ(r.Variables.size(), 3u);

    r = ReadDataText(Replaced(kStartText, "vars=", "vars=-1"));
    EXPECT_EQ(r.Error, DataFileError::WrongFormat);

    // No solutions are announced by a count of 0 or less.
    r = ReadDataText(Replaced(kStartText, "sols=", "sols=-2"));
    EXPECT_TRUE(r.Ok()) << r.Message;
    EXPECT_EQ(r.Solutions.Count(), 0u);
}

TEST(DataFileReader, LimitsOfVariablesAndTexts) {
    DataFileContents c;
    c.FunctionName = "many";
    c.Formula = "1";
    for (int i = 0; i < 19; ++i) c.Variables.push_back({"v" + std::to_string(i), 0, 1, 0});
    DataFileReading r = ReadDataText(DataFileText(c));
    ASSERT_TRUE(r.Ok()) << r.Message;
    EXPECT_EQ(r.Variables.size(), 19u);

    c.Variables.push_back({"v19", 0, 1, 0});
    r = ReadDataText(DataFileText(c));
    EXPECT_EQ(r.Error, DataFileError::Limit);
    EXPECT_EQ(r.Message, "The file holds 20 variables; at most 19 fit the table.");
    EXPECT_TRUE(r.Variables.empty());
    EXPECT_TRUE(r.Maximize.has_value());

    c.Variables = {{std::string(19, 'n'), 0, 1, 0}};
    c.Formula = std::string(199, '1');
    r = ReadDataText(DataFileText(c));
    ASSERT_TRUE(r.Ok()) << r.Message;
    EXPECT_EQ(r.Formula->size(), 199u);
    EXPECT_EQ(r.Variables[0].Name.size(), 19u);

    c.Formula = std::string(200, '1');
    r = ReadDataText(DataFileText(c));
    EXPECT_EQ(r.Error, DataFileError::Limit);
    EXPECT_EQ(r.Message, "The function in the file is longer than 199 characters.");
    EXPECT_FALSE(r.Formula.has_value());
    EXPECT_TRUE(r.FunctionName.has_value());

    c.Formula = "1";
    c.Variables = {{std::string(20, 'n'), 0, 1, 0}};
    r = ReadDataText(DataFileText(c));
    EXPECT_EQ(r.Error, DataFileError::Limit);
    EXPECT_NE(r.Message.find("longer than 19"), std::string::npos) << r.Message;
}

TEST(DataFileLocale, NumbersKeepThePointUnderADecimalCommaLocale) {
    DecimalCommaLocale locale;
    ASSERT_TRUE(locale.Ok()) << "could not switch to a decimal-comma locale";
    DataFileContents c = StartContents();
    c.Variables[0].Min = -0.5f;
    const std::string text = DataFileText(c);
    EXPECT_NE(text.find("\nx,-0.5,50,0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n1.5,2,3,11.25\n"), std::string::npos) << text;
    const DataFileReading r = ReadDataText(text);
    ASSERT_TRUE(r.Ok()) << r.Message;
    EXPECT_EQ(r.Variables[0].Min, -0.5f);
    EXPECT_EQ(r.Solutions.At(0).Values[0], 1.5f);
    EXPECT_EQ(TableRowTexts(r.Variables[0]).Min, "-0,5");
}
