#include "app/examples/ExampleFolder.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
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

namespace {

// A catalogue as read, with what tells whether its file has changed since.
struct ReadCatalogue {
    struct stat File;
    ExampleCatalogue Catalogue;
};

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

ExampleCatalogue Unread(const std::string& why) {
    ExampleCatalogue none;
    none.Error = why;
    return none;
}

ExampleCatalogue ReadFile(const std::string& path, const struct stat& st) {
    if (static_cast<std::uintmax_t>(st.st_size) > kMaxCatalogueBytes) {
        return Unread("the catalogue '" + path + "' is over " + std::to_string(kMaxCatalogueBytes) +
                      " bytes");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return Unread("cannot read the catalogue '" + path + "'");
    // Read no more than the bound, also from a file that grows meanwhile.
    std::string text(kMaxCatalogueBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxCatalogueBytes) {
        return Unread("the catalogue '" + path + "' is over " + std::to_string(kMaxCatalogueBytes) +
                      " bytes");
    }
    return ReadExampleCatalogue(text);
}

}  // namespace

ExampleCatalogue ReadCatalogueIn(const std::string& folder) {
    static std::mutex lock;
    static std::map<std::string, ReadCatalogue> read;
    const std::string path = (fs::path(folder) / kCatalogueFile).string();
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return Unread("cannot read the catalogue in '" + folder + "'");
    std::error_code ec;
    const std::string key = fs::absolute(path, ec).lexically_normal().string();
    {
        const std::lock_guard<std::mutex> held(lock);
        const auto kept = read.find(key);
        if (kept != read.end() && SameFile(kept->second.File, st)) return kept->second.Catalogue;
    }
    ExampleCatalogue catalogue = ReadFile(path, st);
    const std::lock_guard<std::mutex> held(lock);
    read[key] = ReadCatalogue{st, catalogue};
    return catalogue;
}

std::optional<ExampleProblem> KnownExampleFor(const std::string& path,
                                              const std::string& exampleFolder,
                                              const Problem& problem,
                                              std::vector<std::string>* warnings) {
    const fs::path file(path);
    const std::string name = file.filename().string();
    const fs::path beside = file.has_parent_path() ? file.parent_path() : fs::path(".");
    for (const fs::path& folder : {beside, fs::path(exampleFolder)}) {
        if (!HoldsCatalogue(folder)) continue;
        const ExampleCatalogue catalogue = ReadCatalogueIn(folder.string());
        if (warnings) {
            const std::string where = (folder / kCatalogueFile).string();
            if (!catalogue.Error.empty()) warnings->push_back(catalogue.Error);
            for (const std::string& w : catalogue.Warnings) {
                warnings->push_back(where + " " + w + "; the line is left out");
            }
        }
        if (auto example = FindExample(catalogue, name)) {
            return ExampleFits(*example, problem) ? example : std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace quarmel
