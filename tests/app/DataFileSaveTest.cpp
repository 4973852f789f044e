#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/datafile/DataFile.h"

using namespace quarmel;
namespace fs = std::filesystem;

namespace {

DataFileContents Contents() {
    DataFileContents c;
    c.FunctionName = "saved";
    c.Formula = "x*y";
    c.Variables = {{"x", -1, 1, 0}, {"y", 0, 2, 1}};
    for (int i = 0; i < 50; ++i) c.Solutions.Append(Solution{{0.5f, 1.5f}, float(i)});
    return c;
}

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

void Put(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

std::vector<std::string> Entries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

class DataFileSave : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/quarmel-save-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    fs::path dir;
};

}  // namespace

TEST_F(DataFileSave, WritesTheTextAndLeavesNothingElse) {
    const fs::path file = dir / "Example.txt";
    const SaveResult r = SaveDataFile(file, Contents());
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_EQ(Slurp(file), DataFileText(Contents()));
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"Example.txt"});

    const DataFileReading back = ReadDataFile(file);
    ASSERT_TRUE(back.Ok()) << back.Message;
    EXPECT_EQ(back.Solutions.Count(), 50u);
}

TEST_F(DataFileSave, FailedWriteKeepsThePreviousFile) {
    const fs::path file = dir / "Example.txt";
    Put(file, "previous contents\n");
    // Files may grow to 64 bytes only: the write of the new text fails part way.
    struct rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const SaveResult r = SaveDataFile(file, Contents());
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(r.Ok);
    EXPECT_NE(r.Error.find(file.string()), std::string::npos) << r.Error;
    EXPECT_EQ(Slurp(file), "previous contents\n");
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"Example.txt"});
}

TEST_F(DataFileSave, FailuresAreReported) {
    SaveResult r = SaveDataFile(dir / "missing" / "x.txt", Contents());
    EXPECT_FALSE(r.Ok);
    EXPECT_FALSE(r.Error.empty());

    fs::create_directory(dir / "folder");
    r = SaveDataFile(dir / "folder", Contents());
    EXPECT_FALSE(r.Ok);
    EXPECT_TRUE(fs::is_directory(dir / "folder"));

    // Solutions that do not fit the variables would be read back wrongly: nothing is written.
    DataFileContents c = Contents();
    c.Solutions.Clear();
    c.Solutions.Append(Solution{{1.0f}, 2.0f});
    r = SaveDataFile(dir / "x.txt", c);
    EXPECT_FALSE(r.Ok);
    EXPECT_NE(r.Error.find("solution 1 holds 1 values for 2 variables"), std::string::npos)
        << r.Error;
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"folder"});
}

TEST_F(DataFileSave, KeepsPermissionsAndFollowsLinks) {
    const fs::path file = dir / "real.txt";
    Put(file, "old");
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    fs::create_symlink(file, dir / "link.txt");
    const SaveResult r = SaveDataFile(dir / "link.txt", Contents());
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
    EXPECT_EQ(Slurp(file), DataFileText(Contents()));
    struct stat st;
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(DataFileSave, ProtectedAndHardLinkedFilesAreRefusedAndKeptAsTheyWere) {
    const fs::path file = dir / "kept.txt";
    // {how the file is prepared, part of the message}
    const struct {
        const char* name;
        void (*prepare)(const fs::path&);
        const char* says;
    } cases[] = {
        {"read-only", [](const fs::path& f) { chmod(f.c_str(), 0444); }, "write-protected"},
        {"no permissions", [](const fs::path& f) { chmod(f.c_str(), 0); }, "write-protected"},
        {"hard link", [](const fs::path& f) { fs::create_hard_link(f, f.string() + ".2"); },
         "2 names (hard links)"},
    };
    for (const auto& c : cases) {
        fs::remove_all(dir);
        fs::create_directory(dir);
        Put(file, "old");
        c.prepare(file);
        const std::vector<std::string> before = Entries(dir);
        const SaveResult r = SaveDataFile(file, Contents());
        EXPECT_FALSE(r.Ok) << c.name;
        EXPECT_NE(r.Error.find(c.says), std::string::npos) << r.Error;
        EXPECT_NE(r.Error.find(file.string()), std::string::npos) << r.Error;
        chmod(file.c_str(), 0644);
        EXPECT_EQ(Slurp(file), "old") << c.name;
        EXPECT_EQ(Entries(dir), before) << c.name;
    }
}

TEST_F(DataFileSave, DanglingLinkCreatesItsTargetAndStaysALink) {
    fs::create_directory(dir / "sub");
    fs::create_symlink("sub/new.txt", dir / "link.txt");
    const SaveResult r = SaveDataFile(dir / "link.txt", Contents());
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
    EXPECT_EQ(Slurp(dir / "sub" / "new.txt"), DataFileText(Contents()));
    EXPECT_EQ(Entries(dir / "sub"), std::vector<std::string>{"new.txt"});
}

// A process killed while it writes the new file leaves the old file and nothing else. The kill
// comes from the file size limit: the first write past 8 KB raises SIGXFSZ, whose handler
// sends SIGKILL, so the save dies with part of its text written.
TEST_F(DataFileSave, SaveKilledWhileWritingLeavesNothingBehind) {
    const fs::path file = dir / "Example.txt";
    Put(file, "previous contents\n");
    DataFileContents big = Contents();
    for (int i = 0; i < 5000; ++i) big.Solutions.Append(Solution{{0.25f, 0.75f}, float(i)});
    ASSERT_GT(DataFileText(big).size(), 16384u);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, [](int) { raise(SIGKILL); });
        struct rlimit small = {8192, 8192};
        setrlimit(RLIMIT_FSIZE, &small);
        const SaveResult r = SaveDataFile(file, big);
        _exit(r.Ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
    EXPECT_EQ(Slurp(file), "previous contents\n");
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"Example.txt"});
}

TEST_F(DataFileSave, ReadingNeedsARegularFileAndSaysWhy) {
    const fs::path fifo = dir / "fifo.txt";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {(dir / "none.txt").string(), std::string(": ") + std::strerror(ENOENT) + "."},
        {dir.string(), ": it is a folder."},
        {"/dev/zero", ": it is not a regular file."},
        // Refused before it is opened: opening a pipe without a writer would wait.
        {fifo.string(), ": it is not a regular file."},
    };
    for (const auto& [path, why] : cases) {
        const DataFileReading r = ReadDataFile(path);
        EXPECT_EQ(r.Error, DataFileError::CannotOpen) << path;
        EXPECT_EQ(r.Message, "Cannot read file '" + path + "'" + why);
    }
}

TEST_F(DataFileSave, ReadingRefusesAHugeFileUnreadAndReportsAReadError) {
    // A sparse file just over the limit: refused from its size, without holding its text.
    const fs::path huge = dir / "huge.txt";
    Put(huge, "# data file for Quarmel\n");
    fs::resize_file(huge, kMaxDataFileBytes + 1);
    struct rusage before, after;
    getrusage(RUSAGE_SELF, &before);
    const DataFileReading r = ReadDataFile(huge);
    getrusage(RUSAGE_SELF, &after);
    EXPECT_EQ(r.Error, DataFileError::CannotOpen);
    EXPECT_EQ(r.Message, "Cannot read file '" + huge.string() + "': it is larger than 256 MB.");
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 16 * 1024);  // kilobytes

    // Reading a process's memory from address 0 fails with an input/output error.
    const DataFileReading failed = ReadDataFile("/proc/self/mem");
    EXPECT_EQ(failed.Error, DataFileError::CannotOpen);
    EXPECT_EQ(failed.Message,
              std::string("Cannot read file '/proc/self/mem': ") + std::strerror(EIO) + ".");
}

namespace {

// An access control list in the kernel's extended-attribute form: owner rw, user 1234 rw, owning
// group r, mask rw, others nothing.
std::string AccessList() {
    const struct {
        std::uint16_t tag, perm;
        std::uint32_t id;
    } entries[] = {{0x01, 6, ~0u}, {0x02, 6, 1234}, {0x04, 4, ~0u}, {0x10, 6, ~0u}, {0x20, 0, ~0u}};
    std::string value(4, '\0');
    value[0] = 2;  // version
    value.append(reinterpret_cast<const char*>(entries), sizeof entries);
    return value;
}

std::string Attribute(const fs::path& file, const char* name) {
    char value[256];
    const ssize_t n = getxattr(file.c_str(), name, value, sizeof value);
    return n < 0 ? std::string("<none>") : std::string(value, static_cast<std::size_t>(n));
}

}  // namespace

TEST_F(DataFileSave, KeepsAccessListsAndAttributesAndGrantsNoMore) {
    const fs::path file = dir / "shared.txt";
    Put(file, "old");
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    const std::string list = AccessList();
    if (setxattr(file.c_str(), "user.note", "kept", 4, 0) != 0 ||
        setxattr(file.c_str(), "system.posix_acl_access", list.data(), list.size(), 0) != 0) {
        GTEST_SKIP() << "no extended attributes here: " << std::strerror(errno);
    }
    struct stat before;
    ASSERT_EQ(stat(file.c_str(), &before), 0);
    // A default list on the folder must not add to what the replaced file granted.
    ASSERT_EQ(setxattr(dir.c_str(), "system.posix_acl_default", list.data(), list.size(), 0), 0);
    const fs::path plain = dir / "plain.txt";
    ASSERT_EQ(fs::copy_file(file, plain), true);  // created under the default list
    ASSERT_EQ(removexattr(plain.c_str(), "system.posix_acl_access"), 0);
    ASSERT_EQ(chmod(plain.c_str(), 0600), 0);

    ASSERT_TRUE(SaveDataFile(file, Contents()).Ok);
    ASSERT_TRUE(SaveDataFile(plain, Contents()).Ok);

    EXPECT_EQ(Slurp(file), DataFileText(Contents()));
    EXPECT_EQ(Attribute(file, "user.note"), "kept");
    EXPECT_EQ(Attribute(file, "system.posix_acl_access"), list);
    struct stat after;
    ASSERT_EQ(stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
    EXPECT_EQ(Attribute(plain, "system.posix_acl_access"), "<none>");
    ASSERT_EQ(stat(plain.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0600u);
}

TEST_F(DataFileSave, RefusesANameThatWouldNotReadBack) {
    // {name, reads back as (empty: refused)}
    const struct {
        std::string name, back;
    } cases[] = {
        {"Run # 2", ""},
        {"Case # formula f=sin(x) #", ""},
        {"x\n#", ""},
        {std::string(201, 'a'), ""},
        {"Run #2 a#b", "Run #2 a#b "},
        {"  two   blanks\t", "two blanks "},
        {std::string(200, 'a'), std::string(200, 'a') + " "},
    };
    for (const auto& c : cases) {
        DataFileContents contents = Contents();
        contents.FunctionName = c.name;
        const fs::path file = dir / "named.txt";
        const SaveResult r = SaveDataFile(file, contents);
        if (c.back.empty()) {
            EXPECT_FALSE(r.Ok) << c.name;
            EXPECT_NE(r.Error.find("would not read back"), std::string::npos) << r.Error;
            EXPECT_FALSE(fs::exists(file)) << c.name;
            continue;
        }
        ASSERT_TRUE(r.Ok) << r.Error;
        const DataFileReading back = ReadDataFile(file);
        EXPECT_EQ(back.FunctionName, c.back);
        EXPECT_EQ(back.Formula.value_or(""), contents.Formula) << c.name;
        fs::remove(file);
    }
}
