#include "app/datafile/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace quarmel {

namespace {

std::string Reason(const std::string& path, int err) {
    return "Cannot save '" + path + "': " + std::strerror(err);
}

std::string Folder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The path that symbolic links at `path` lead to, one link after another, whether or not the
// last one exists. False (with errno set) on a loop or an unreadable link.
bool FollowLinks(const std::string& path, std::string& target) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        char link[PATH_MAX];
        const ssize_t n = readlink(target.c_str(), link, sizeof link - 1);
        if (n < 0) return false;
        link[n] = '\0';
        target = link[0] == '/' ? std::string(link) : Folder(target) + "/" + link;
    }
    errno = ELOOP;
    return false;
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

// Gives the new file the old one's owner and group where the user may (only root may give a
// file away, a user only to a group of their own); otherwise it stays the saving user's.
void KeepOwner(int fd, const struct stat& old) {
    if (old.st_uid == geteuid() && old.st_gid == getegid()) return;
    if (fchown(fd, old.st_uid, old.st_gid) == 0) return;
    const int groupOnly = fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    (void)groupOnly;
}

// Names of the extended attributes of `path` (its access control list among them), or false
// with errno set. A file system without extended attributes has none.
bool AttributeNames(const std::string& path, std::vector<std::string>& names) {
    names.clear();
    for (;;) {
        const ssize_t size = listxattr(path.c_str(), nullptr, 0);
        if (size < 0) return errno == ENOTSUP;
        std::vector<char> list(static_cast<std::size_t>(size));
        const ssize_t got = listxattr(path.c_str(), list.data(), list.size());
        if (got < 0 && errno == ERANGE) continue;  // grew meanwhile
        if (got < 0) return false;
        for (ssize_t at = 0; at < got;) {
            names.emplace_back(list.data() + at);
            at += static_cast<ssize_t>(names.back().size()) + 1;
        }
        return true;
    }
}

bool AttributeValue(const std::string& path, const std::string& name, std::vector<char>& value) {
    for (;;) {
        const ssize_t size = getxattr(path.c_str(), name.c_str(), nullptr, 0);
        if (size < 0) return false;
        value.resize(static_cast<std::size_t>(size));
        const ssize_t got = getxattr(path.c_str(), name.c_str(), value.data(), value.size());
        if (got >= 0) return value.resize(static_cast<std::size_t>(got)), true;
        if (errno != ERANGE) return false;
    }
}

// Gives the new file the old one's extended attributes, its access control list among them, so
// that the replacement grants exactly what the old file granted: an access list the new file
// took from its folder's default list is removed when the old file had none. Call after fchmod,
// as setting an access list sets the permission bits to match it. False (with `failed` naming
// the attribute and errno set) when one cannot be copied.
bool CopyAttributes(const std::string& old, int fd, std::string& failed) {
    static const char kAccessList[] = "system.posix_acl_access";
    std::vector<std::string> names;
    if (!AttributeNames(old, names)) {
        failed = "list";
        return false;
    }
    bool hadList = false;
    std::vector<char> value;
    for (const std::string& name : names) {
        hadList = hadList || name == kAccessList;
        if (!AttributeValue(old, name, value) ||
            fsetxattr(fd, name.c_str(), value.data(), value.size(), 0) != 0) {
            failed = name;
            return false;
        }
    }
    if (!hadList && fremovexattr(fd, kAccessList) != 0 && errno != ENODATA && errno != ENOTSUP) {
        failed = kAccessList;
        return false;
    }
    return true;
}

// Makes the rename itself durable: without it a power loss may bring the old file back.
void FlushFolder(const std::string& folder) {
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    const int flushed = fsync(dir);
    (void)flushed;  // the new file is in place either way; some file systems cannot flush folders
    close(dir);
}

// A name beside the target for the finished file (or, where the file system has no unnamed
// files, for the file being written), so the final rename stays within one file system.
std::string TempName(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    return target + ".saving-" + std::to_string(getpid()) + "-" +
           std::to_string(counter.fetch_add(1));
}

}  // namespace

namespace {

// Why the file that `path` leads to (`target`, `existing` when `exists`) may not be replaced:
// empty when it may.
std::string Refusal(const std::string& target, const struct stat& existing, bool exists) {
    if (!exists) {
        struct stat folder;
        const std::string in = Folder(target);
        if (stat(in.c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)) return "no folder " + in;
        if (faccessat(AT_FDCWD, in.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
            return std::string(std::strerror(errno)) + " in " + in;
        }
        return {};
    }
    if (!S_ISREG(existing.st_mode)) return "it is not a regular file";
    // The rename would replace a file whatever its permissions: refuse one the user may not
    // write, and one that nobody may write (write-protected on purpose, even for root).
    if ((existing.st_mode & 0222) == 0 ||
        faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return "the file is write-protected.";
    }
    // The new file would take the place of one name only and the other names would keep the old
    // contents; writing in place instead would put the contents at risk.
    if (existing.st_nlink > 1) {
        return "the file has " + std::to_string(existing.st_nlink) +
               " names (hard links) and replacing it would separate them.";
    }
    return {};
}

}  // namespace

std::string SaveRefusal(const std::string& path) {
    std::string target;
    if (!FollowLinks(path, target)) return std::strerror(errno);
    struct stat existing;
    const bool exists = stat(target.c_str(), &existing) == 0;
    return Refusal(target, existing, exists);
}

bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error) {
    std::string target;
    if (!FollowLinks(path, target)) {
        error = Reason(path, errno);
        return false;
    }
    struct stat existing;
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (const std::string why = Refusal(target, existing, exists); exists && !why.empty()) {
        error = "Cannot save '" + path + "': " + why;
        return false;
    }

    // Preferably an unnamed file in the target's folder, given a name (through /proc) only once
    // it is complete, so a save that is killed part way leaves nothing behind.
    // The replacement of an existing file stays private until it carries the old file's rights,
    // so it never grants more than the old one did, not even while it is written.
    const mode_t createMode = exists ? 0600 : 0666;
    int fd = -1;
    if (access("/proc/self/fd", X_OK) == 0) {
        fd = open(Folder(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, createMode);
    }
    const bool unnamed = fd >= 0;
    std::string temp;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = TempName(target);
        fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, createMode);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        error = Reason(path, errno);
        return false;
    }

    int err = 0;
    bool ok = WriteAll(fd, text, err);
    if (ok && exists) {
        KeepOwner(fd, existing);
        if (fchmod(fd, existing.st_mode & 07777) != 0) ok = false, err = errno;
        std::string attribute;
        if (ok && !CopyAttributes(target, fd, attribute)) {
            err = errno;
            close(fd);
            if (!temp.empty()) unlink(temp.c_str());
            error = "Cannot save '" + path + "': its attribute " + attribute +
                    " (access rights or notes) cannot be given to the new file (" +
                    std::strerror(err) + "); the file was kept as it was.";
            return false;
        }
    }
    if (ok && fsync(fd) != 0) ok = false, err = errno;
    if (ok && unnamed) {
        // The window between the link and the rename is two system calls wide.
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        for (int attempt = 0; attempt < 100; ++attempt) {
            temp = TempName(target);
            if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                break;
            }
            err = errno;
            temp.clear();
            if (err != EEXIST) break;
        }
        if (temp.empty()) ok = false;
    }
    if (close(fd) != 0 && ok) ok = false, err = errno;
    if (ok && rename(temp.c_str(), target.c_str()) != 0) ok = false, err = errno;
    if (!ok) {
        if (!temp.empty()) unlink(temp.c_str());
        error = Reason(path, err);
        return false;
    }
    FlushFolder(Folder(target));
    return true;
}

}  // namespace quarmel
