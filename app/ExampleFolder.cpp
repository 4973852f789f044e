#include "app/ExampleFolder.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace quarmel {

const char* const kCatalogueFile = "catalogue.tsv";

namespace {

namespace fs = std::filesystem;

bool HoldsCatalogue(const fs::path& folder) {
    std::error_code ec;
    return !folder.empty() && fs::is_regular_file(folder / kCatalogueFile, ec);
}

}  // namespace

std::string FindExampleFolder(const std::string& programFolder, const std::string& sourceFolder) {
    const fs::path installed = fs::path(programFolder) / ".." / "share" / "quarmel" / "examples";
    if (!programFolder.empty() && HoldsCatalogue(installed)) {
        return installed.lexically_normal().string();
    }
    if (HoldsCatalogue(sourceFolder)) return sourceFolder;
    return {};
}

ExampleCatalogue ReadCatalogueIn(const std::string& folder) {
    std::ifstream in(fs::path(folder) / kCatalogueFile, std::ios::binary);
    if (!in) {
        ExampleCatalogue none;
        none.Error = "cannot read the catalogue in '" + folder + "'";
        return none;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return ReadExampleCatalogue(text.str());
}

std::optional<ExampleProblem> KnownExampleFor(const std::string& path,
                                              const std::string& exampleFolder) {
    const fs::path file(path);
    const std::string name = file.filename().string();
    for (const fs::path& folder : {file.parent_path(), fs::path(exampleFolder)}) {
        if (!HoldsCatalogue(folder)) continue;
        if (auto example = FindExample(ReadCatalogueIn(folder.string()), name)) return example;
    }
    return std::nullopt;
}

}  // namespace quarmel
