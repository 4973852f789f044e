#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/examples/ExampleCatalogue.h"

namespace quarmel {

// The catalogue's file name inside an examples folder.
extern const char* const kCatalogueFile;

// The folder of the example problems: the installed one beside the program
// (<programFolder>/../share/quarmel/examples), else `sourceFolder` (the source tree's, for a
// program run from its build folder). Empty when neither holds a catalogue.
std::string FindExampleFolder(const std::string& programFolder, const std::string& sourceFolder);

// The most bytes a catalogue file may hold: thousands of examples, and little to read.
constexpr std::uintmax_t kMaxCatalogueBytes = std::uintmax_t{1} << 20;

// The catalogue file in `folder`, read once for as long as it stays the same file (the same
// size and time of change). An unreadable file, or one over kMaxCatalogueBytes, gives an Error and
// no examples; lines that do not read are left out with Warnings.
ExampleCatalogue ReadCatalogueIn(const std::string& folder);

// What the catalogue says about the problem file at `path` holding `problem`: the catalogue
// beside the file (the current folder for a bare name) is asked first, then the one in
// `exampleFolder` (which may be empty), by the file's name; an example that does not fit the
// problem (ExampleFits) is none. What the catalogues asked had to leave out is added to
// `warnings`, if given, each naming its catalogue file.
std::optional<ExampleProblem> KnownExampleFor(const std::string& path,
                                              const std::string& exampleFolder,
                                              const Problem& problem,
                                              std::vector<std::string>* warnings = nullptr);

}  // namespace quarmel
