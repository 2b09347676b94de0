#include "cli/Commands.h"

#include "TestSupport.h"
#include "checksum/JobInputChecks.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
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

TEST(VerifyCommand, ACheckFileThatCannotBeReadExitsWithTheFailure) {
    const CliRun run = RunQuorvix({"verify", "/dev/null"});
    EXPECT_EQ(run.status, ExitFailure);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "quorvix-cli: Cannot open file \"/dev/null\". Not a regular file\n");
}

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

TEST(VerifyCommand, ACheckFileWithNoDigestLineIsNoSilentPass) {
    TempFolder folder;
    for (const std::string& content : {std::string(), std::string("\xFF\xFEg\0a\0r\0b\0", 10)}) {
        const std::string checkFile = folder.Write("sums.md5", content);
        const CliRun run = RunQuorvix({"verify", checkFile});
        EXPECT_EQ(run.status, ExitProblemFound);
        EXPECT_EQ(run.out, "\nOperation completes.\n0 file was verified. 0 file changed. \n");
        EXPECT_EQ(run.err, "quorvix-cli: \"" + checkFile +
                               "\" holds no digest lines quorvix can read, so nothing was "
                               "verified\n");
    }
}

TEST(VerifyCommand, OptionsAreCheckedBeforeAnythingIsRead) {
    TempFolder folder;
    const std::string checkFile = folder.Write("CheckSum.md5", "");
    const struct {
        Arguments arguments;
        std::string message;
    } cases[] = {
        {{"verify", "--legacy-encoding", "NO-SUCH-CODEPAGE", checkFile},
         "unknown legacy encoding \"NO-SUCH-CODEPAGE\""},
        {{"verify", "--legacy-encoding", "", checkFile}, "needs a code page name or \"none\""},
        {{"verify", "--legacy-encoding"}, "needs a value"},
        {{"verify", "--no-subfolders", checkFile}, "--no-subfolders applies only with --unlisted"},
        {{"digest", "--format", "sha1", checkFile}, "unknown --format \"sha1\""},
        {{"digest", "--format", "md5sum", "-o", folder / "list", checkFile},
         "--format applies to printed lines only"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunQuorvix(c.arguments);
        EXPECT_EQ(run.status, ExitFailure) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("Usage:"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "list"));
}

TEST(VerifyCommand, LegacyEncodingPicksTheCodePageOrTurnsTheRetryOff) {
    TempFolder folder;
    folder.Write("caf\xC3\xA9.txt", "coffee"); // "café" in UTF-8
    const std::string checkFile = folder.Write(
        "CheckSum.md5", test::DigestTextOf("coffee") + "\tcaf\xE9.txt\r\n"); // in CP1252
    const std::string found = "OK ... \"" + (folder / "caf\xC3\xA9.txt") + "\"\n";
    const std::string missing = "文件不存在 ... \"" + (folder / "caf\xE9.txt") + "\"\n";

    // \xE9 opens a two-byte character in GB18030, so the default retry finds nothing.
    CliRun run = RunQuorvix({"verify", checkFile});
    EXPECT_EQ(run.status, ExitProblemFound);
    EXPECT_TRUE(run.out.starts_with(missing)) << run.out;

    run = RunQuorvix({"verify", "--legacy-encoding", "CP1252", checkFile});
    EXPECT_EQ(run.status, ExitSuccess);
    EXPECT_TRUE(run.out.starts_with(found)) << run.out;

    run = RunQuorvix({"verify", "--legacy-encoding", "none", checkFile});
    EXPECT_EQ(run.status, ExitProblemFound);
    EXPECT_TRUE(run.out.starts_with(missing)) << run.out;
}

TEST(VerifyCommand, UnlistedFilesAreReportedOnlyWhenAskedAndMakeTheStatusOne) {
    TempFolder folder;
    folder.Write("a.txt", "a");
    folder.Write("sub/b.txt", "b");
    ASSERT_EQ(RunQuorvix({"make", folder.Path()}).status, ExitSuccess);
    folder.Write("sub/added.txt", "new");
    folder.Write(".cache/added.txt", "in a dot-folder");
    const std::string checkFile = folder / "CheckSum.md5";

    const CliRun plain = RunQuorvix({"verify", checkFile});
    EXPECT_EQ(plain.status, ExitSuccess);
    EXPECT_EQ(plain.out.find("added"), std::string::npos);

    const CliRun unlisted = RunQuorvix({"verify", "--unlisted", checkFile});
    EXPECT_EQ(unlisted.status, ExitProblemFound);
    EXPECT_EQ(unlisted.err, "");
    EXPECT_TRUE(unlisted.out.ends_with("2 files were verified. 0 file changed. 1 file was not "
                                       "listed. \n\n未列出的文件:\n" +
                                       (folder / "sub/added.txt") + "\n"))
        << unlisted.out;

    const CliRun topOnly = RunQuorvix({"verify", "--unlisted", "--no-subfolders", checkFile});
    EXPECT_EQ(topOnly.status, ExitSuccess);
    EXPECT_TRUE(topOnly.out.ends_with("0 file was not listed. \n")) << topOnly.out;
}

TEST(VerifyCommand, AFileChangedWithoutAWriteIsCalledOutOnStandardError) {
    TempFolder folder;
    const std::string file = folder.Write("photo.jpg", "flipped bit");
    const timespec longAgo[2] = {{1000000000, 0}, {1000000000, 0}}; // 2001
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), longAgo, 0), 0);
    const std::string checkFile = folder.Write(
        "CheckSum.md5", ";MD5 sums generated by Quorvix\r\n;x\r\n;2024-03-05 14:07:09\r\n\r\n" +
                            test::DigestTextOf("original") + "\tphoto.jpg\r\n");
    const CliRun run = RunQuorvix({"verify", checkFile});
    EXPECT_EQ(run.status, ExitProblemFound);
    EXPECT_TRUE(run.out.ends_with("\n下列文件内容已变但修改时间未变 (可能已损坏):\n" + file + "\n"))
        << run.out;
    EXPECT_EQ(run.err, "quorvix-cli: 1 file changed although not written to since the check file "
                       "was made; this points to damage (a failing disk, a bad copy), not to an "
                       "edit\n");
}

bool HaveMd5sum() {
    return std::system("md5sum --version >/dev/null 2>&1") == 0;
}

TEST(DigestCommand, Md5sumFormatIsReadByMd5sumAndByVerify) {
    if (!HaveMd5sum()) {
        GTEST_SKIP() << "md5sum is not installed";
    }
    TempFolder folder;
    const Arguments names = {
        "plain.txt", "with space", "back\\slash", "line\nbreak", "\xE4\xB8\xAD\xE6\x96\x87",
        "sub/*star"};
    for (const std::string& name : names) {
        folder.Write(name, "content of " + name);
    }
    const test::CurrentFolderChange change(folder.Path());
    for (const char* format : {"md5sum", "bsd"}) {
        Arguments arguments = {"digest", "--format", format};
        arguments.insert(arguments.end(), names.begin(), names.end());
        arguments.push_back("absent");
        const CliRun run = RunQuorvix(arguments);
        EXPECT_EQ(run.status, ExitProblemFound);
        EXPECT_EQ(run.err, "quorvix-cli: absent: Could not open file\n");
        folder.Write("sums.md5", run.out);

        // --strict: a line md5sum cannot read fails the check instead of being passed over.
        EXPECT_EQ(std::system("md5sum --check --strict --quiet sums.md5"), 0) << format << ":\n"
                                                                              << run.out;
        const CliRun verify = RunQuorvix({"verify", "sums.md5"});
        EXPECT_EQ(verify.status, ExitSuccess) << verify.out;
        EXPECT_NE(verify.out.find("6 files were verified. 0 file changed. "), std::string::npos);

        folder.Write("with space", "edited");
        EXPECT_NE(std::system("md5sum --check --strict --quiet sums.md5 >/dev/null 2>&1"), 0);
        folder.Write("with space", "content of with space");
    }
}

} // namespace
} // namespace quorvix::cli
