// The CSV texts both programs write: a field that holds a separator, a quote or a line break is
// quoted (its quotes doubled), so that every row reads back as one record.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/tables/CsvTables.h"
#include "app/tables/RunTables.h"

using namespace quarmel;

TEST(CsvTables, AFieldWithACommaAQuoteOrALineBreakIsQuoted) {
    const std::pair<const char*, const char*> cases[] = {
        {"plain.txt", "plain.txt"},
        {"", ""},
        {"my,\"best\".txt", "\"my,\"\"best\"\".txt\""},
        {"two\nlines.txt", "\"two\nlines.txt\""},
        {"dos\r\nline", "\"dos\r\nline\""},
        {"carriage\rreturn", "\"carriage\rreturn\""},
    };
    for (const auto& [text, field] : cases) EXPECT_EQ(CsvField(text), field) << text;
}

// A run's series is told by its problem file and every setting's full value, so that a value
// equal to the start value is written too; numbers read back as the stored float.
TEST(CsvTables, TheSeriesFieldsHoldEverySettingAndTheShortestNumbers) {
    AlgParameters p;
    p.AddVariable("x", 0, 1, 0);
    p.SetMaximize(true);
    p.A = 0.16f;
    const std::string fields = SeriesFields("a,b/p.txt", " f ", Steepest, p);
    EXPECT_EQ(fields.rfind("\"a,b/p.txt\",f,max,1,steepest,0.16,", 0), 0u) << fields;
    // One field per column of the header (no field here holds a comma but the quoted path).
    const auto commas = [](const std::string& t) { return std::count(t.begin(), t.end(), ','); };
    EXPECT_EQ(commas(fields) - 1, commas(SeriesHeader()));
    EXPECT_EQ(FloatText(0.16f), "0.16");
    EXPECT_EQ(FloatText(1e20f), "1e+20");
    EXPECT_EQ(OptionalText(std::nullopt), "");
    EXPECT_EQ(RunRowFields("s", 3, std::nullopt, 10, 2, 0.0000014, "finished"),
              "s,3,,10,2,1e-06,finished");
}

// Each byte that does not belong to well-formed UTF-8 becomes U+FFFD; well-formed text stays.
TEST(CsvTables, TextFieldsAreWellFormedUtf8) {
    const std::string r = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
        {"caf\xE9", "caf" + r},               // Latin-1
        {"\xC0\xAF", r + r},                  // an overlong "/"
        {"\xED\xA0\x80", r + r + r},          // a surrogate
        {"\xF4\x90\x80\x80", r + r + r + r},  // past U+10FFFF
        {"\xE2\x82", r + r},                  // cut short at the end
        {"\xE2\x82x", r + r + "x"},           // cut short before a letter
        {"\x80"
         "a\xFF",
         r + "a" + r},  // lone continuation and 0xFF
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(ValidUtf8(text), expected) << text;
    EXPECT_EQ(CsvField("a\xFF,b"), "\"a" + r + ",b\"");
}

TEST(CsvTables, TheSolutionsHeaderQuotesItsNamesAlike) {
    Problem p;
    p.AddVariable("x", 0, 1, 0);
    p.AddVariable("a,b\nc", 0, 1, 0);
    SolutionList solutions;
    solutions.Append(Solution{{0.5f, 0.25f}, 1.5f});
    EXPECT_EQ(SolutionsCsv(p, solutions), "x,\"a,b\nc\",F\n0.5,0.25,1.5\n");
    EXPECT_EQ(SolutionsCsv(p, solutions, false), "0.5,0.25,1.5\n");
}

// A row per published step, numbered from 1, after the series fields and the seed.
TEST(CsvTables, TheLongTableNumbersTheStepsFromOne) {
    RunOutcome run;
    run.Seed = 4;
    run.Trace = {{3, 1.5f, 1.5f}, {7, 2.5f, 1.5f}};
    EXPECT_EQ(LongTableRows("s", run), "s,4,1,3,1.5,1.5\ns,4,2,7,2.5,1.5\n");
}
