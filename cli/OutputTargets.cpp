#include "cli/OutputTargets.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "app/datafile/AtomicFile.h"

namespace quarmel {

namespace {

namespace fs = std::filesystem;

// A file to be written must be a regular file, or one the save may create, by the atomic save's
// own rules.
void CheckWritable(const std::string& file, const std::string& what) {
    struct stat st;
    if (stat(file.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) throw BatchInputError(what + "it is a folder");
        if (!S_ISREG(st.st_mode)) throw BatchInputError(what + "not a regular file");
    }
    if (const std::string why = SaveRefusal(file); !why.empty()) throw BatchInputError(what + why);
}

// The ioh folder is made by the run; an existing one must be empty, so that no earlier
// experiment's files mix with this one's.
void CheckIohFolder(const std::string& folder, const std::string& what) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(folder, ec))) {
        if (!fs::is_directory(folder, ec)) throw BatchInputError(what + "not a folder");
        if (!fs::is_empty(folder, ec)) throw BatchInputError(what + "the folder is not empty");
    }
    // The folder's own folder takes the complete folder by a rename.
    const std::string parent = fs::path(folder).lexically_normal().parent_path().string();
    const std::string in = parent.empty() ? "." : parent;
    struct stat st;
    if (stat(in.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        throw BatchInputError(what + "no folder " + in);
    }
    if (access(in.c_str(), W_OK | X_OK) != 0)
        throw BatchInputError(what + FileErrorText(errno) + " in " + in);
}

// What makes two names one file: the device and inode of an existing one, else its path with
// the links of its existing part resolved.
std::string Identity(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) == 0) {
        return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
    }
    std::error_code ec;
    const fs::path resolved = fs::weakly_canonical(fs::absolute(path, ec), ec);
    return ec ? path : resolved.string();
}

}  // namespace

std::string FileErrorText(int error) {
    switch (error) {
        case ENOENT:
            return "no such file";
        case EACCES:
            return "permission denied";
        default:
            return std::strerror(error);
    }
}

void JudgeOutputTargets(const BatchOptions& options) {
    std::vector<std::pair<std::string, std::string>> targets;  // option, name
    if (options.OutFile) targets.emplace_back("--out", *options.OutFile);
    if (options.MetaFile) targets.emplace_back("--meta", *options.MetaFile);
    if (options.IohFolder) targets.emplace_back("--format ioh", *options.IohFolder);
    for (std::size_t t = 0; t < targets.size(); ++t) {
        const auto& [option, name] = targets[t];
        const std::string what = "cannot write " + option + " '" + name + "': ";
        if (option == "--format ioh") {
            CheckIohFolder(name, what);
        } else {
            CheckWritable(name, what);
        }
        const std::string self = Identity(name);
        for (const std::string& input : options.ProblemFiles) {
            if (Identity(input) == self) {
                throw BatchInputError(what + "it is the problem file '" + input + "'");
            }
        }
        for (std::size_t u = 0; u < t; ++u) {
            if (Identity(targets[u].second) == self) {
                throw BatchInputError(what + "it is also " + targets[u].first + "'s");
            }
        }
    }
}

}  // namespace quarmel
