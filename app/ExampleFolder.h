#pragma once

#include <optional>
#include <string>

#include "app/ExampleCatalogue.h"

namespace quarmel {

// The catalogue's file name inside an examples folder.
extern const char* const kCatalogueFile;

// The folder of the example problems: the installed one beside the program
// (<programFolder>/../share/quarmel/examples), else `sourceFolder` (the source tree's, for a
// program run from its build folder). Empty when neither holds a catalogue.
std::string FindExampleFolder(const std::string& programFolder, const std::string& sourceFolder);

// The catalogue file in `folder`; an unreadable file gives an Error and no examples.
ExampleCatalogue ReadCatalogueIn(const std::string& folder);

// What the catalogue says about the problem file at `path`: the catalogue beside the file is
// asked first, then the one in `exampleFolder` (which may be empty), by the file's name.
std::optional<ExampleProblem> KnownExampleFor(const std::string& path,
                                              const std::string& exampleFolder);

}  // namespace quarmel
