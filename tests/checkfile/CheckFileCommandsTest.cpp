#include "cli/Commands.h"

#include "TestSupport.h"
#include "checksum/JobInputChecks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

namespace quorvix::cli {
namespace {

using test::TempFolder;

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun RunQuorvix(const Arguments& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCli(arguments, out, err);
    return {status, out.str(), err.str()};
}

TEST(IsEmptyAfterTrimming, TrimsBytesUpToSpaceFromBothEnds) {
    EXPECT_TRUE(IsEmptyAfterTrimming(""));
    EXPECT_TRUE(IsEmptyAfterTrimming(" \t\r\n\x01 "));
    EXPECT_FALSE(IsEmptyAfterTrimming(" a "));
    EXPECT_FALSE(IsEmptyAfterTrimming("\xe4\xb8\xad"));
    EXPECT_FALSE(IsEmptyAfterTrimming("\x7f"));
}

TEST(MakeCommand, ChecksItsInputFirst) {
    TempFolder folder;
    folder.Write("file", "x");
    const struct {
        Arguments arguments;
        std::string message;
    } cases[] = {
        {{"make", ""}, "首先请选择一个文件夹。\n"},
        {{"make", " \t "}, "首先请选择一个文件夹。\n"},
        {{"make", folder / "absent"}, "该文件夹不存在。\n"},
        {{"make", folder / "file"}, "该文件夹不存在。\n"},
        {{"make", " " + folder.Path()}, "该文件夹不存在。\n"},
        {{"make", "--no-subfolders", folder / "absent"}, "该文件夹不存在。\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunQuorvix(c.arguments);
        EXPECT_EQ(run.status, ExitFailure) << c.arguments.back();
        EXPECT_EQ(run.err, c.message) << c.arguments.back();
        EXPECT_EQ(run.out, "");
    }
    for (const Arguments& usage :
         {Arguments{"make"}, Arguments{"make", "--bogus", "x"}, Arguments{"make", "a", "b"}}) {
        const CliRun run = RunQuorvix(usage);
        EXPECT_EQ(run.status, ExitFailure);
        EXPECT_NE(run.err.find("Usage:"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
}

TEST(MakeCommand, PrintsTheLogAndNothingElse) {
    TempFolder folder;
    folder.Write("a", "a");
    folder.Write("sub/b", "b");
    CliRun run = RunQuorvix({"make", folder.Path()});
    EXPECT_EQ(run.status, ExitSuccess);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "Processing file \"a\" ... OK\n"
                       "Processing folder \"" +
                           (folder / "sub") +
                           "\" ...\n"
                           "Processing file \"b\" ... OK\n"
                           "\n操作完成。\nMD5 校验文件保存在 \"" +
                           (folder / "CheckSum.md5") + "\"\n");

    run = RunQuorvix({"make", "--no-subfolders", folder.Path()});
    EXPECT_EQ(run.status, ExitSuccess);
    EXPECT_EQ(run.out.find("sub"), std::string::npos);
    EXPECT_EQ(test::ReadFileBytes(folder / "CheckSum.md5").find("sub"), std::string::npos);
}

TEST(MakeCommand, AFailedRunExitsWithTheFailureOnStandardError) {
    TempFolder folder;
    folder.Write("CheckSum.md5/occupied", "x");
    const CliRun run = RunQuorvix({"make", folder.Path()});
    EXPECT_EQ(run.status, ExitFailure);
    EXPECT_NE(run.err.find(folder / "CheckSum.md5"), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("操作完成"), std::string::npos);
}

TEST(VerifyCommand, ChecksItsInputFirst) {
    TempFolder folder;
    for (const Arguments& arguments : {Arguments{"verify", ""}, Arguments{"verify", "\t"}}) {
        const CliRun run = RunQuorvix(arguments);
        EXPECT_EQ(run.status, ExitFailure);
        EXPECT_EQ(run.err, "请首先选择检查文件.\n");
        EXPECT_EQ(run.out, "");
    }
    for (const Arguments& arguments :
         {Arguments{"verify", folder / "absent.md5"}, Arguments{"verify", folder.Path()}}) {
        const CliRun run = RunQuorvix(arguments);
        EXPECT_EQ(run.status, ExitFailure);
        EXPECT_EQ(run.err, "检查文件不存在.\n");
        EXPECT_EQ(run.out, "");
    }
    const CliRun usage = RunQuorvix({"verify"});
    EXPECT_EQ(usage.status, ExitFailure);
    EXPECT_NE(usage.err.find("Usage:"), std::string::npos);
}

#ifndef _WIN32 // /dev/null is POSIX-only; WindowsPathsTest has NUL
TEST(VerifyCommand, ACheckFileThatCannotBeReadExitsWithTheFailure) {
    const CliRun run = RunQuorvix({"verify", "/dev/null"});
    EXPECT_EQ(run.status, ExitFailure);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "quorvix-cli: Cannot open file \"/dev/null\". Not a regular file\n");
}
#endif

TEST(CheckFileRoundTrip, MakeVerifyChangeVerify) {
    TempFolder folder;
    folder.Write("a.txt", "alpha");
    folder.Write("docs/b.txt", "beta");
    ASSERT_EQ(RunQuorvix({"make", folder.Path()}).status, ExitSuccess);

    CliRun run = RunQuorvix({"verify", folder / "CheckSum.md5"});
    EXPECT_EQ(run.status, ExitSuccess);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "OK ... \"" + (folder / "a.txt") + "\"\nOK ... \"" +
                           (folder / "docs/b.txt") +
                           "\"\n\nOperation completes.\n2 files were verified. 0 file changed. \n");

    folder.Write("docs/b.txt", "beta, edited");
    run = RunQuorvix({"verify", folder / "CheckSum.md5"});
    EXPECT_EQ(run.status, ExitProblemFound);
    EXPECT_NE(run.out.find("File changed ... \"" + (folder / "docs/b.txt") + "\""),
              std::string::npos);
    EXPECT_NE(run.out.find("2 files were verified. 1 file changed. \n"), std::string::npos);

    folder.Write("docs/b.txt", "beta");
    std::filesystem::remove(folder / "a.txt");
    EXPECT_EQ(RunQuorvix({"verify", folder / "CheckSum.md5"}).status, ExitProblemFound);
}

} // namespace
} // namespace quorvix::cli
