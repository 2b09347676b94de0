// quorvix-cli as a process: what only shows from outside it (signals, a full disk behind
// standard output, standard input, running out of memory).
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

extern char** environ;

namespace quorvix {
namespace {

using test::ReadFileBytes;
using test::TempFolder;

struct ProcessEnd {
    int exitStatus = -1; // -1 when the process did not exit by itself
    std::string err;
};

// Runs a shell command line and gives its exit status and standard error.
ProcessEnd RunShell(const std::string& commandLine, const TempFolder& scratch) {
    const std::string errFile = scratch / "stderr.txt";
    const int status = std::system((commandLine + " 2>'" + errFile + "'").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFileBytes(errFile)};
}

std::string Cli() {
    return QUORVIX_CLI;
}

bool HasTemporaryFile(const std::string& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with(".CheckSum.md5.tmp-")) {
            return true;
        }
    }
    return false;
}

// A maker run held up by a full pipe on its standard output, so that a signal reaches it while
// its temporary check file exists.
class StalledMaker {
public:
    explicit StalledMaker(const TempFolder& folder) {
        EXPECT_EQ(::pipe(output_), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, output_[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, output_[0]);
        const std::string cli = Cli();
        const std::string path = folder.Path();
        char* argv[] = {const_cast<char*>(cli.c_str()), const_cast<char*>("make"),
                        const_cast<char*>(path.c_str()), nullptr};
        EXPECT_EQ(::posix_spawn(&pid_, cli.c_str(), &actions, nullptr, argv, environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        ::close(output_[1]);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!HasTemporaryFile(folder.Path()) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        // Long enough for the log to fill the pipe and the run to stop on it.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    StalledMaker(const StalledMaker&) = delete;
    StalledMaker& operator=(const StalledMaker&) = delete;
    ~StalledMaker() {
        if (output_[0] >= 0) {
            ::close(output_[0]);
        }
    }

    void Signal(int signalNumber) const { ::kill(pid_, signalNumber); }
    void CloseOutput() { ::close(std::exchange(output_[0], -1)); }

    // The exit status, or -1 when the process ended otherwise.
    int Wait() const {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int output_[2] = {-1, -1};
};

void WriteManyFiles(const TempFolder& folder) {
    // Far more log than a pipe holds.
    const std::string padding(80, 'n');
    for (int i = 0; i < 3000; ++i) {
        std::string name = std::to_string(i);
        name += padding;
        folder.Write(name, "x");
    }
    folder.Write("CheckSum.md5", "the old check file\r\n");
}

TEST(CliProcess, AnInterruptedMakerLeavesTheOldCheckFileAndNoTemporaryFile) {
    struct Case {
        int signalNumber;
        int exitStatus;
    };
    for (const Case& c :
         {Case{SIGINT, 130}, Case{SIGTERM, 143}, Case{SIGHUP, 129}, Case{SIGPIPE, 141}}) {
        SCOPED_TRACE(c.signalNumber);
        TempFolder folder;
        WriteManyFiles(folder);
        StalledMaker maker(folder);
        ASSERT_TRUE(HasTemporaryFile(folder.Path()));
        if (c.signalNumber == SIGPIPE) {
            maker.CloseOutput(); // as "make d | head -1" does
        } else {
            maker.Signal(c.signalNumber);
        }
        EXPECT_EQ(maker.Wait(), c.exitStatus);
        EXPECT_FALSE(HasTemporaryFile(folder.Path()));
        EXPECT_EQ(ReadFileBytes(folder / "CheckSum.md5"), "the old check file\r\n");
    }
}

TEST(CliProcess, OutputLostToAFullDiskIsAFailure) {
    if (::access("/dev/full", W_OK) != 0) {
        GTEST_SKIP() << "no /dev/full here";
    }
    TempFolder folder;
    folder.Write("data/a", "a");
    const std::string cli = "'" + Cli() + "' ";
    ASSERT_EQ(RunShell(cli + "make '" + (folder / "data") + "' >/dev/null", folder).exitStatus, 0);
    for (const std::string& command :
         {"digest '" + (folder / "data/a") + "'", "make '" + (folder / "data") + "'",
          "verify '" + (folder / "data/CheckSum.md5") + "'"}) {
        SCOPED_TRACE(command);
        const ProcessEnd end = RunShell(cli + command + " >/dev/full", folder);
        EXPECT_EQ(end.exitStatus, 2);
        EXPECT_NE(end.err.find("cannot write standard output: No space left on device"),
                  std::string::npos)
            << end.err;
    }
}

TEST(CliProcess, AStandardInputCheckFileResolvesAgainstTheCurrentFolder) {
    TempFolder folder;
    folder.Write("data/a", "a");
    const std::string cli = "'" + Cli() + "' ";
    ASSERT_EQ(RunShell(cli + "make '" + (folder / "data") + "' >/dev/null", folder).exitStatus, 0);
    const ProcessEnd end = RunShell("cd '" + (folder / "data") + "' && " + cli +
                                        "verify - <CheckSum.md5 >'" + (folder / "log.txt") + "'",
                                    folder);
    EXPECT_EQ(end.exitStatus, 0) << end.err;
    EXPECT_EQ(ReadFileBytes(folder / "log.txt").substr(0, 15), "OK ... \"./a\"\n\nO");
}

TEST(CliProcess, RunningOutOfMemorySaysSo) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer reserves more address space than the limit allows";
#endif
    TempFolder folder;
    // Sixty thousand missing files with long names: the list of missing files outgrows the
    // memory the run is allowed.
    {
        std::string lines;
        const std::string name(1000, 'm');
        for (int i = 0; i < 60000; ++i) {
            lines += std::string(32, '0') + "\t" + name + std::to_string(i) + "\r\n";
        }
        folder.Write("big.md5", lines);
    }
    const ProcessEnd end = RunShell("ulimit -v 100000; exec '" + Cli() + "' verify -j 1 '" +
                                        (folder / "big.md5") + "' >/dev/null",
                                    folder);
    EXPECT_EQ(end.exitStatus, 2);
    EXPECT_EQ(end.err, "quorvix-cli: out of memory\n");
}

} // namespace
} // namespace quorvix
