#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace quarmel {

namespace {

std::string Reason(const std::string& path, int err) {
    return "Cannot save '" + path + "': " + std::strerror(err);
}

// The file a path names once symbolic links are followed; the path itself when it names no
// existing file yet.
std::string ResolvedTarget(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (realpath(path.c_str(), resolved)) return resolved;
    }
    return path;
}

bool WriteAll(int fd, const std::string& text, int& err) {
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t n = write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error) {
    const std::string target = ResolvedTarget(path);
    struct stat existing;
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        error = "Cannot save '" + path + "': it is not a regular file";
        return false;
    }

    // A new name beside the target, so the final rename stays within one file system.
    static std::atomic<unsigned> counter{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = target + ".saving-" + std::to_string(getpid()) + "-" +
               std::to_string(counter.fetch_add(1));
        fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        error = Reason(path, errno);
        return false;
    }

    int err = 0;
    bool ok = WriteAll(fd, text, err);
    if (ok && exists && fchmod(fd, existing.st_mode & 07777) != 0) ok = false, err = errno;
    if (ok && fsync(fd) != 0) ok = false, err = errno;
    if (close(fd) != 0 && ok) ok = false, err = errno;
    if (ok && rename(temp.c_str(), target.c_str()) != 0) ok = false, err = errno;
    if (!ok) {
        unlink(temp.c_str());
        error = Reason(path, err);
    }
    return ok;
}

}  // namespace quarmel
