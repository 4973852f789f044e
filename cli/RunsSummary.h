#pragma once

#include <istream>
#include <optional>
#include <string>

namespace quarmel {

// The summary format of a runs table read back (quarmel-batch --summarize FILE): the rows are
// grouped by their series columns (everything before "seed"), in the order the series first
// appear, and each group summarised as --format summary summarises its runs, with the same
// code, so that a table joined from shards gives what one invocation would. `target` is the
// value the runs were given with --target; a table with evaluations_to_target needs it, one
// without refuses it. A series is ranked among the series of its problem (the same problem,
// function, direction and dimension). With `pairs`, the pairs table of those series instead
// (--format pairs, which reads no target). With `ownTargets` (--target optimum) each series
// takes the target its runs were made with from the table's target column. Throws BatchInputError
// naming the line that is not a runs table's.
std::string SummarizeRuns(std::istream& table, const std::optional<double>& target, bool header,
                          bool pairs = false, bool ownTargets = false);
// The same for the runs table in the file at `path`; throws BatchInputError when it cannot be read.
std::string SummarizeRunsFile(const std::string& path, const std::optional<double>& target,
                              bool header, bool pairs, bool ownTargets);

}  // namespace quarmel
