#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/Algparameters.h"
#include "model/Problem.h"
#include "model/Solution.h"

namespace quarmel {

// The CSV tables both programs write. Every table is one header and its rows; a number is the
// shortest text that reads back as the stored value, and a missing number is an empty field, so
// that a data frame reads each numeric column as numbers.

// A field of a CSV row: quoted when it holds a comma, a quote or a line break (either "\n" or
// "\r"), its quotes doubled, so the row reads back as one record; bytes that are not UTF-8
// replaced (ValidUtf8).
std::string CsvField(const std::string& text);

// A text with every byte that is not part of well-formed UTF-8 replaced by U+FFFD, so that a
// name or path of any bytes gives a line every CSV and JSON reader reads (CsvField and the JSON
// strings use it).
std::string ValidUtf8(const std::string& text);

// A function's name as the tables write it: without the blanks around it that the data file and
// the window's name field keep.
std::string TableName(const std::string& functionName);

// The shortest text that reads back as the value ("0.16" for the float nearest 0.16); "nan",
// "inf" and "-inf" for the others.
std::string FloatText(float value);
std::string DoubleText(double value);
// Empty when there is no value.
std::string OptionalText(const std::optional<double>& value);

// A statistic of best values (best, median, worst, mean, sd) as the tables print it: at the
// precision of the values it is made of, the shortest text that reads back as the same float
// (a mean of floats has no more digits worth printing); as the double it is only where no float
// holds it (beyond the float's range, or too small to be told from 0); empty for none.
std::string StatisticText(const std::optional<double>& value);

// A list as CSV, as the batch runner prints it and the window exports it: a header of the
// variable names then "F" (unless header is false), one row per solution.
std::string SolutionsCsv(const Problem& problem, const SolutionList& solutions, bool header = true);

// A number with 9 significant digits and ".", or "none": the window's runs table cells.
std::string CsvNumber(const std::optional<double>& value);

// The settings a run table has a column for: every setting but the ignored field and the two
// delays (which do not change what a run finds), in the settings table's order.
std::vector<std::string> SettingColumns();
// Each of those settings' full value, in the same order.
std::vector<std::string> SettingValues(const AlgParameters& params);

// The columns that say which series a run belongs to: "problem,function,direction,dimension,
// algorithm," then one column per setting. The fields of one series: the problem file as given,
// the function's name, "min" or "max", the number of variables, the algorithm and the full value
// of every setting.
std::string SeriesHeader();
std::string SeriesFields(const std::string& problemFile, const std::string& function,
                         AlgorithmKind kind, const AlgParameters& params);

// The runs table, as the batch runner prints it and the window exports it: the series columns,
// then seed, best, evaluations, solutions (the path's length), seconds (the run's processor
// time, to the microsecond) and how the run ended; with a target also the evaluations it took to
// reach it (empty when the run did not).
std::string RunRowHeader(bool target);
std::string RunRowFields(const std::string& series, std::uint32_t seed,
                         const std::optional<float>& best, unsigned long long evaluations,
                         std::size_t solutions, double seconds, const std::string& ended);

}  // namespace quarmel
