// Names the check file format cannot carry, folders that cannot be walked, leftovers of killed
// runs, odd write targets and files that change while they are read: none of them may make a
// check file or a verification say something false.
#include "TestSupport.h"
#include "checksum/CheckFileMaker.h"
#include "checksum/CheckFileVerifier.h"
#include "checksum/FileDigestList.h"
#include "checksum/TextLineReader.h"
#include "platform/FileErrors.h"
#include "platform/FileStream.h"
#include "platform/TextFileWriter.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <thread>

namespace quorvix {
namespace {

using test::DigestTextOf;
using test::ReadFileBytes;
using test::RecordingLogSink;
using test::TempFolder;
using Lines = std::vector<std::string>;

bool RunningAsRoot() {
    return ::geteuid() == 0;
}

std::string Entry(const std::string& content, const std::string& relativePath) {
    std::string digest = DigestTextOf(content);
    for (char& c : digest) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return digest + "\t" + relativePath + "\r\n";
}

// The check file's entry lines, the header left out.
std::string Entries(const std::string& checkFile) {
    const std::string bytes = ReadFileBytes(checkFile);
    std::size_t start = 0;
    for (int line = 0; line < 4; ++line) {
        start = bytes.find("\r\n", start) + 2;
    }
    return bytes.substr(start);
}

TEST(HostileNames, NamesAnEntryLineCannotCarryAreLoggedAndLeftOut) {
    TempFolder folder;
    folder.Write("a", "x");
    folder.Write("b", "1");
    for (const char* name : {"a\x1a\x1a", "c\rr.txt", "new\nline", "back\\slash"}) {
        folder.Write(name, "x");
    }
    folder.Write("cr.txt", "other");
    RecordingLogSink log;
    const MakerResult result = CheckFileMaker(folder.Path(), true, log);
    EXPECT_FALSE(result.Complete());
    EXPECT_EQ(result.filesLeftOut, 4u);
    EXPECT_EQ(Entries(folder / "CheckSum.md5"),
              Entry("x", "a") + Entry("1", "b") + Entry("other", "cr.txt"));
    const std::string status = "\" ... Name cannot be stored in a check file";
    for (const char* name : {"a\x1a\x1a", "back\\slash", "c\rr.txt", "new\nline"}) {
        EXPECT_NE(std::find(log.lines.begin(), log.lines.end(),
                            "Processing file \"" + std::string(name) + status),
                  log.lines.end())
            << name;
    }

    // Read back, every entry is checked: a changed file after the odd names is found.
    folder.Write("b", "2");
    const VerificationCounts counts = VerifyCheckFile(folder / "CheckSum.md5", log);
    EXPECT_EQ(counts.unchanged, 2u);
    EXPECT_EQ(counts.changed, 1u);
    EXPECT_EQ(counts.missing, 0u);
}

// Makes a chain of folders "d/d/.../d" deeper than any path the system accepts, one level at a
// time relative to the one above, and a file at its bottom.
class DeepTree {
public:
    DeepTree(const std::string& top, int depth) : top_(top), depth_(depth) {
        int fd = ::open(top.c_str(), O_RDONLY | O_DIRECTORY);
        for (int level = 0; level < depth; ++level) {
            ::mkdirat(fd, "d", 0755);
            const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
            ::close(fd);
            fd = next;
        }
        const int file = ::openat(fd, "bottom.txt", O_WRONLY | O_CREAT, 0644);
        EXPECT_EQ(::write(file, "deep", 4), 4);
        ::close(file);
        ::close(fd);
    }
    DeepTree(const DeepTree&) = delete;
    DeepTree& operator=(const DeepTree&) = delete;
    // The temporary folder's own removal works by path and would stop at the path limit.
    ~DeepTree() { RemoveChain(::open(top_.c_str(), O_RDONLY | O_DIRECTORY), depth_); }

private:
    static void RemoveChain(int fd, int depth) {
        if (depth > 0) {
            RemoveChain(::openat(fd, "d", O_RDONLY | O_DIRECTORY), depth - 1);
            ::unlinkat(fd, "d", AT_REMOVEDIR);
        } else {
            ::unlinkat(fd, "bottom.txt", 0);
        }
        ::close(fd);
    }

    std::string top_;
    int depth_;
};

TEST(HostileTrees, ATreeDeeperThanThePathLimitIsWalkedToItsBottom) {
    TempFolder folder;
    constexpr int Depth = 2100; // 4200 bytes of path, past the 4096 the system takes
    const DeepTree tree(folder.Path(), Depth);
    RecordingLogSink log;
    const MakerResult result = CheckFileMaker(folder.Path(), true, log, {}, 2);
    EXPECT_TRUE(result.Complete());
    EXPECT_EQ(result.filesListed, 1u);
    std::string relative;
    for (int level = 0; level < Depth; ++level) {
        relative += "d/";
    }
    EXPECT_EQ(Entries(folder / "CheckSum.md5"), Entry("deep", relative + "bottom.txt"));
    EXPECT_EQ(log.lines[Depth], "Processing file \"bottom.txt\" ... OK");

    // The verifier opens by path and cannot reach it: unreadable, never missing.
    const VerificationCounts counts = VerifyCheckFile(folder / "CheckSum.md5", log);
    EXPECT_EQ(counts.unreadable, 1u);
    EXPECT_EQ(counts.missing, 0u);
}

TEST(HostileTrees, AFolderThatCannotBeListedIsLoggedWithItsReason) {
    if (RunningAsRoot()) {
        GTEST_SKIP() << "permissions do not bind root";
    }
    TempFolder folder;
    folder.Write("locked/inside.txt", "x");
    folder.Write("z.txt", "z");
    ASSERT_EQ(::chmod((folder / "locked").c_str(), 0), 0);
    RecordingLogSink log;
    const MakerResult result = CheckFileMaker(folder.Path(), true, log);
    ::chmod((folder / "locked").c_str(), 0755);
    EXPECT_EQ(result.filesLeftOut, 1u);
    EXPECT_EQ(Lines(log.lines.begin(), log.lines.begin() + 3),
              (Lines{"Processing folder \"" + (folder / "locked") + "\" ...",
                     "Could not open folder \"" + (folder / "locked") + "\". Permission denied",
                     "Processing file \"z.txt\" ... OK"}));
}

TEST(HostileTrees, AFolderThatCannotBeOpenedForWantOfDescriptorsIsLogged) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    // Their runtimes open descriptors of their own (a pipe to test whether memory is readable)
    // and report falsely when none is left.
    GTEST_SKIP() << "the sanitizers need descriptors of their own";
#endif
    // Permissions do not bind root, but the limit on open files binds everyone.
    TempFolder folder;
    folder.Write("a/b/c/d/e/f/deep.txt", "deep");
    folder.Write("z.txt", "z");
    const int open =
        static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                       std::filesystem::directory_iterator{}));
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit tight = saved;
    tight.rlim_cur = static_cast<rlim_t>(open + 4);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    RecordingLogSink log;
    MakerResult result;
    try {
        result = CheckFileMaker(folder.Path(), true, log);
    } catch (...) {
        ::setrlimit(RLIMIT_NOFILE, &saved);
        throw;
    }
    ::setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_FALSE(result.Complete());
    EXPECT_GE(result.filesLeftOut, 1u);
    const auto failed = std::find_if(log.lines.begin(), log.lines.end(), [](const std::string& l) {
        return l.starts_with("Could not open folder \"");
    });
    ASSERT_NE(failed, log.lines.end());
    EXPECT_TRUE(failed->ends_with("\". Too many open files")) << *failed;
    EXPECT_EQ(log.lines.back(), "MD5 校验文件保存在 \"" + (folder / "CheckSum.md5") + "\"");
    EXPECT_NE(std::find(log.lines.begin(), log.lines.end(), "Processing file \"z.txt\" ... OK"),
              log.lines.end());
}

TEST(HostileTrees, AnEntryWhoseExistenceCannotBeToldIsUnreadableNotMissing) {
    TempFolder folder;
    ASSERT_EQ(::symlink("loop-b", (folder / "loop-a").c_str()), 0);
    ASSERT_EQ(::symlink("loop-a", (folder / "loop-b").c_str()), 0);
    folder.Write("sums.md5", Entry("x", "loop-a") + Entry("x", "gone") + Entry("x", "gone/x"));
    RecordingLogSink log;
    const VerificationCounts counts = VerifyCheckFile(folder / "sums.md5", log);
    EXPECT_EQ(log.lines[0], "Could not open file ... \"" + (folder / "loop-a") + "\"");
    EXPECT_EQ(counts.unreadable, 1u);
    EXPECT_EQ(counts.missing, 2u);
}

TEST(HostileTrees, TemporaryCheckFilesOfAnyRunArePassedOver) {
    TempFolder folder;
    folder.Write(".CheckSum.md5.tmp-k3v9x0aa", "left by a killed run");
    folder.Write("sub/.CheckSum.md5.tmp-00000000", "left in a subfolder");
    // Near misses are ordinary files.
    folder.Write(".CheckSum.md5.tmp-short", "1");
    folder.Write(".CheckSum.md5.tmp-UPPERCAS", "2");
    RecordingLogSink log;
    EXPECT_TRUE(CheckFileMaker(folder.Path(), true, log).Complete());
    EXPECT_EQ(Entries(folder / "CheckSum.md5"),
              Entry("2", ".CheckSum.md5.tmp-UPPERCAS") + Entry("1", ".CheckSum.md5.tmp-short"));
}

TEST(HostileFiles, AFileThatChangesWhileItIsReadGetsNoDigest) {
    TempFolder folder;
    folder.Write("growing", std::string(10000, 'g'));
    folder.Write("shrinking", std::string(10000, 's'));
    folder.Write("steady", "steady");
    JobHooks hooks;
    hooks.digestStream = [&](FileStream& file) {
        const std::string& path = file.Path();
        if (path == folder / "growing") {
            folder.Write("growing", std::string(20000, 'g'));
        } else if (path == folder / "shrinking") {
            EXPECT_EQ(::truncate(path.c_str(), 100), 0);
        }
        return DigestOfStream(file);
    };
    RecordingLogSink log;
    const MakerResult result = CheckFileMaker(folder.Path(), true, log, hooks);
    EXPECT_EQ(result.filesLeftOut, 2u);
    EXPECT_EQ(Entries(folder / "CheckSum.md5"), Entry("steady", "steady"));
    EXPECT_EQ(log.lines[0], "Processing file \"growing\" ... Could not open file");
    EXPECT_EQ(log.lines[1], "Processing file \"shrinking\" ... Could not open file");
}

TEST(HostileTargets, WritesGoThroughLinksAndIntoFifosAndRefuseReadOnlyFiles) {
    TempFolder folder;
    // A link: the file it names is replaced, the link stays a link.
    const std::string real = folder.Write("real/list.txt", "old");
    ASSERT_EQ(::symlink("real/list.txt", (folder / "link.txt").c_str()), 0);
    {
        TextFileWriter writer(folder / "link.txt");
        writer.WriteLine("new");
        writer.Commit();
    }
    struct stat info {};
    ASSERT_EQ(::lstat((folder / "link.txt").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(ReadFileBytes(real), "new\r\n");
    EXPECT_EQ(test::FolderListing(folder / "real"), "list.txt\n");

    // A FIFO (as a device would be) is written in place, never replaced by a file.
    const std::string fifo = folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    std::string received;
    std::thread reader([&] { received = ReadFileBytes(fifo); });
    // The writer's open does not wait for a reader; give the reader its open first.
    for (int attempt = 0; attempt < 200; ++attempt) {
        try {
            TextFileWriter writer(fifo);
            writer.WriteLine("through");
            writer.Commit();
            break;
        } catch (const InputOutputError&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    reader.join();
    EXPECT_EQ(received, "through\r\n");
    ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));

    // A FIFO nobody reads fails at once instead of hanging.
    EXPECT_THROW(TextFileWriter{fifo}, InputOutputError);

    if (!RunningAsRoot()) {
        const std::string readOnly = folder.Write("CheckSum.md5", "kept");
        ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
        EXPECT_THROW(TextFileWriter{readOnly}, InputOutputError);
        RecordingLogSink log;
        EXPECT_THROW(CheckFileMaker(folder.Path(), true, log), InputOutputError);
        EXPECT_EQ(ReadFileBytes(readOnly), "kept");
    }
}

TEST(HostileCheckFiles, ALineOfHundredsOfMebibytesFromAPipeKeepsMemoryFlat) {
    TempFolder folder;
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    // Read by name as a shell's process substitution gives it, with the writer already there.
    const std::string pipePath = "/proc/self/fd/" + std::to_string(ends[0]);
    constexpr std::size_t LineBytes = 300u << 20;
    std::thread writer([&] {
        FILE* out = ::fdopen(ends[1], "wb");
        const std::string piece(1 << 20, 'q');
        for (std::size_t written = 0; written < LineBytes; written += piece.size()) {
            std::fwrite(piece.data(), 1, piece.size(), out);
        }
        std::fputs("\r\nafter\r\n", out);
        std::fclose(out);
    });
    TextLineReader reader(pipePath);
    ::close(ends[0]);
    std::string line;
    ASSERT_TRUE(reader.NextLine(line));
    EXPECT_EQ(line, "after");
    EXPECT_FALSE(reader.NextLine(line));
    writer.join();
    rusage usage{};
    ASSERT_EQ(::getrusage(RUSAGE_SELF, &usage), 0);
    EXPECT_LT(usage.ru_maxrss, 100 * 1024) << "KiB at the peak";
}

} // namespace
} // namespace quorvix
