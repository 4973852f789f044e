// The CSV texts both programs write: a field that holds a separator, a quote or a line break is
// quoted (its quotes doubled), so that every row reads back as one record.
#include <gtest/gtest.h>

#include "app/CsvTables.h"

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
    EXPECT_EQ(SeriesLabel(Greedy, "A=0.1;Lk=2", "a\nb.txt"), "greedy,A=0.1;Lk=2,\"a\nb.txt\"");
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
