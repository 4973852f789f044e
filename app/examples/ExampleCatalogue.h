#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/Problem.h"

namespace quarmel {

// The best value a problem can reach and where, as published for a classic test function.
struct KnownOptimum {
    double Value = 0;
    std::vector<double> Location;  // one coordinate per variable, in the file's order
    double Tolerance = 0;          // how far an evaluation at Location may be from Value
};

// One ready problem: a data file beside the catalogue and what is known about it.
struct ExampleProblem {
    std::string File;  // the data file's name, in the catalogue's folder
    std::string Name;
    int Dimension = 0;
    bool Maximize = false;
    KnownOptimum Optimum;
    std::string Description;
    std::string Source;  // the paper or suite that defines the function and its domain
};

struct ExampleCatalogue {
    std::vector<ExampleProblem> Examples;
    std::string Error;                  // why nothing could be read (its header, its size)
    std::vector<std::string> Warnings;  // "line 3: why", one per line left out
};

// Reads the catalogue's text: a header line, then one tab-separated line per example with the
// columns file, name, dimension, direction (min or max), optimum, location (coordinates joined by
// ";"), tolerance, description and source. Numbers use "." whatever the locale. A line that does
// not read is left out with a warning naming it, and the others are kept; without the header
// nothing is read and Error says so.
ExampleCatalogue ReadExampleCatalogue(const std::string& text);

// Whether the catalogue's example is the problem a file holds: the same direction and as many
// variables as the optimum's location has coordinates. Otherwise its optimum means nothing for
// the file (a maximised copy of a minimum's example, a file with a variable more).
bool ExampleFits(const ExampleProblem& example, const Problem& problem);

// The example whose data file is `fileName` (a name, not a path), if the catalogue has one.
std::optional<ExampleProblem> FindExample(const ExampleCatalogue& catalogue,
                                          const std::string& fileName);

// The examples of one number of variables, in the catalogue's order.
struct ExampleGroup {
    int Dimension = 0;
    std::string Caption;  // "2 variables" ("1 variable")
    std::vector<ExampleProblem> Examples;
};

// The examples grouped by their number of variables, the fewest first.
std::vector<ExampleGroup> GroupByDimension(const std::vector<ExampleProblem>& examples);

}  // namespace quarmel
