// Jobs digest ahead on worker threads; whatever the number of workers, every output must be the
// one a one-at-a-time run gives, and no failure may leave a thread behind or hang.
#include "TestSupport.h"
#include "checksum/CheckFileMaker.h"
#include "checksum/CheckFileVerifier.h"
#include "checksum/DigestPipeline.h"
#include "checksum/FileDigestList.h"
#include "platform/FileErrors.h"
#include "platform/FileStream.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <signal.h>
#ifndef _WIN32 // resource limits are POSIX-only
#include <sys/resource.h>
#endif
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <filesystem>

namespace quorvix {
namespace {

using test::ReadFileBytes;
using test::RecordingLogSink;
using test::TempFolder;
using Lines = std::vector<std::string>;

constexpr unsigned WorkerCounts[] = {2, 3, 8};

// A path written with '/' as the platform spells it.
std::string Native(std::string path) {
    std::replace(path.begin(), path.end(), '/', PathSeparator);
    return path;
}

// prefix followed by the number (built by appending: GCC 12 warns wrongly on operator+ here).
std::string Numbered(const char* prefix, int number) {
    std::string name = prefix;
    name += std::to_string(number);
    return name;
}

// A tree with every kind of file a job meets.
void WriteMixedTree(const TempFolder& folder) {
    folder.Write("empty", "");
    folder.Write("page", std::string(4096, 'p'));
    folder.Write("large", std::string((3 << 20) + 5, 'L'));
    folder.Write("changed", "before");
    folder.Write("vanishing", "soon gone");
    for (int i = 0; i < 300; ++i) {
        folder.Write(Numbered("many/f", i), std::string(static_cast<std::size_t>(i), 'm'));
    }
    folder.Write(".hidden/never", "walked");
#ifndef _WIN32 // FIFOs are POSIX-only
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0644), 0);
#endif
}

JobHooks FixedClock() {
    JobHooks hooks;
    hooks.localTime = [] { return LocalDateTime{2026, 12, 11, 10, 0, 0}; };
    hooks.timeSeparator = ':';
    return hooks;
}

struct JobOutputs {
    std::string checkFile;
    Lines makeLog;
    MakerResult made;
    Lines verifyLog;
    VerificationCounts verified;
    Lines digestRows;

    bool operator==(const JobOutputs& other) const {
        return checkFile == other.checkFile && makeLog == other.makeLog &&
               made.filesListed == other.made.filesListed &&
               made.filesLeftOut == other.made.filesLeftOut && verifyLog == other.verifyLog &&
               verified.unchanged == other.verified.unchanged &&
               verified.changed == other.verified.changed &&
               verified.missing == other.verified.missing &&
               verified.unreadable == other.verified.unreadable && digestRows == other.digestRows;
    }
};

JobOutputs RunJobs(unsigned workers, const JobHooks& hooks = FixedClock()) {
    TempFolder folder;
    WriteMixedTree(folder);
    JobOutputs outputs;
    RecordingLogSink log;
    outputs.made = CheckFileMaker(folder.Path(), true, log, hooks, workers);
    outputs.checkFile = ReadFileBytes(folder / "CheckSum.md5");
    outputs.makeLog = log.lines;

    folder.Write("changed", "after");
    std::filesystem::remove(folder / "vanishing");
    outputs.verified = VerifyCheckFile(folder / "CheckSum.md5", log, hooks, {}, workers);
    outputs.verifyLog = log.lines;

    FileDigestList list(hooks);
    list.SetWorkerCount(workers);
    std::vector<std::string> paths;
    for (const char* name : {"empty", "missing", "fifo", "page", "large", "many/f7", "many"}) {
        paths.push_back(folder / name);
    }
    list.AddFiles(paths);
    for (std::size_t i = 0; i < list.RowCount(); ++i) {
        outputs.digestRows.push_back(SavedListLine(list.Row(i)).substr(folder.Path().size()));
    }
    // Paths differ between the runs' folders; compare what follows them.
    for (Lines* lines : {&outputs.makeLog, &outputs.verifyLog}) {
        for (std::string& line : *lines) {
            const auto at = line.find(folder.Path());
            if (at != std::string::npos) {
                line.replace(at, folder.Path().size(), "<folder>");
            }
        }
    }
    return outputs;
}

TEST(Pipeline, EveryOutputIsTheSameWithOneWorkerAndWithMany) {
    const JobOutputs alone = RunJobs(1);
#ifndef _WIN32                              // FIFOs are POSIX-only
    ASSERT_EQ(alone.made.filesLeftOut, 1u); // the FIFO
#endif
    ASSERT_EQ(alone.verified.changed, 1u);
    ASSERT_EQ(alone.verified.missing, 1u);
    for (const unsigned workers : WorkerCounts) {
        SCOPED_TRACE(workers);
        EXPECT_TRUE(RunJobs(workers) == alone);
    }
    // A digest function of the caller's own is used on the workers too (and the lanes then stay
    // unused): still the same outputs.
    JobHooks hooks = FixedClock();
    hooks.digestStream = [](FileStream& file) { return DigestOfStream(file); };
    EXPECT_TRUE(RunJobs(2, hooks) == alone);
}

TEST(Pipeline, AFileThatFailsOnAWorkerIsReportedAsInAOneAtATimeRun) {
    JobHooks hooks = FixedClock();
    std::atomic<int> digests = 0;
    hooks.digestStream = [&](FileStream& file) {
        ++digests;
        if (file.Path().ends_with(Native("/many/f150")) || file.Path().ends_with(Native("/page"))) {
            throw FileOpenError(file.Path(), "Device or resource busy");
        }
        return DigestOfStream(file);
    };
    const JobOutputs alone = RunJobs(1, hooks);
    EXPECT_EQ(alone.made.filesLeftOut, RunJobs(1).made.filesLeftOut + 2);
    EXPECT_TRUE(RunJobs(4, hooks) == alone);
}

TEST(Pipeline, AFailureThatEndsTheJobStopsEveryWorker) {
    TempFolder folder;
    WriteMixedTree(folder);
    JobHooks hooks = FixedClock();
    hooks.digestStream = [](FileStream& file) -> Md5Digest {
        if (file.Path().ends_with(Native("/many/f100"))) {
            throw std::bad_alloc();
        }
        return DigestOfStream(file);
    };
    RecordingLogSink log;
    EXPECT_THROW(CheckFileMaker(folder.Path(), true, log, hooks, 4), std::bad_alloc);
    EXPECT_FALSE(std::filesystem::exists(folder / "CheckSum.md5"));
    EXPECT_EQ(test::FolderListing(folder.Path()).find(".CheckSum"), std::string::npos);
}

#ifndef _WIN32 // resource limits are POSIX-only
TEST(Pipeline, ACheckFileThatCannotBeWrittenEndsTheRunWithoutAHang) {
    TempFolder folder;
    const std::string name(200, 'n');
    for (int i = 0; i < 2000; ++i) {
        folder.Write(name + Numbered("", i), "x");
    }
    folder.Write("CheckSum.md5", "old\r\n");
    // Files may grow to 64 KiB here: the check file, of about 460 KiB, fails while workers run.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = ::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64 << 10;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    RecordingLogSink log;
    EXPECT_THROW(CheckFileMaker(folder.Path(), true, log, FixedClock(), 4), InputOutputError);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previous);
    EXPECT_EQ(ReadFileBytes(folder / "CheckSum.md5"), "old\r\n");
    EXPECT_EQ(test::FolderListing(folder.Path()).find(".CheckSum"), std::string::npos);
}
#endif

TEST(Pipeline, ACancelledJobStopsAtTheNextFileWithTheSameLog) {
    for (const unsigned workers : {1u, 4u}) {
        SCOPED_TRACE(workers);
        TempFolder folder;
        for (int i = 0; i < 50; ++i) {
            folder.Write(Numbered("f", 100 + i), "x");
        }
        folder.Write("CheckSum.md5", "old\r\n");
        JobHooks hooks = FixedClock();
        std::uint64_t done = 0;
        hooks.filesProgress = [&](const JobProgressCounts& counts) {
            EXPECT_LE(counts.filesDone, counts.filesKnown);
            EXPECT_EQ(counts.bytesDone, counts.filesDone); // files of one byte each
            done = counts.filesDone;
        };
        hooks.cancelRequested = [&] { return done == 10; };
        RecordingLogSink log;
        const MakerResult made = CheckFileMaker(folder.Path(), true, log, hooks, workers);
        EXPECT_TRUE(made.cancelled);
        EXPECT_EQ(log.lines.size(), 11u);
        EXPECT_EQ(log.lines.back(), "操作已取消。");
        EXPECT_EQ(ReadFileBytes(folder / "CheckSum.md5"), "old\r\n");
        EXPECT_EQ(test::FolderListing(folder.Path()).find(".CheckSum"), std::string::npos);

        std::string lines;
        for (int i = 0; i < 50; ++i) {
            lines += std::string(32, '0') + "\t" + Numbered("f", 100 + i) + "\r\n";
        }
        folder.Write("sums.md5", lines);
        done = 0;
        const VerificationCounts counts =
            VerifyCheckFile(folder / "sums.md5", log, hooks, {}, workers);
        EXPECT_TRUE(counts.cancelled);
        EXPECT_FALSE(counts.AllUnchanged());
        EXPECT_EQ(counts.changed, 10u);
        EXPECT_EQ(log.lines.size(), 11u);
        EXPECT_EQ(log.lines.back(), "操作已取消。");
    }
}

TEST(Pipeline, ResultsComeBackInSubmissionOrder) {
    TempFolder folder;
    std::vector<std::string> paths;
    for (int i = 0; i < 500; ++i) {
        // Sizes that make later files finish first.
        paths.push_back(folder.Write(Numbered("f", i),
                                     std::string(static_cast<std::size_t>((500 - i) * 97), 'z')));
    }
    DigestPipeline pipeline(FileChecker(JobHooks{}), 3);
    std::size_t next = 0;
    for (std::size_t taken = 0; taken < paths.size(); ++taken) {
        while (next < paths.size() && pipeline.HasRoom()) {
            pipeline.Submit({paths[next++], nullptr, {}});
        }
        const FileCheckResult result = pipeline.TakeNext();
        ASSERT_EQ(result.outcome, FileCheckOutcome::Digested);
        const std::string bytes = ReadFileBytes(paths[taken]);
        EXPECT_EQ(result.digest,
                  DigestOfBuffer(bytes.data(), static_cast<std::uint32_t>(bytes.size())))
            << taken;
    }
}

} // namespace
} // namespace quorvix
