#include "cli/Commands.h"

#include "../support/TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quorvix {
namespace {

using test::ReadFileBytes;
using test::TempFolder;

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun RunCliWith(const cli::Arguments& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::RunCli(arguments, out, err);
    return {status, out.str(), err.str()};
}

TEST(DigestCommand, PrintsOneLinePerFileInOrderAndExitsByResult) {
    TempFolder folder;
    const std::string abc = folder.Write("abc", "abc");
    const std::string empty = folder.Write("empty", "");

    const CliRun good = RunCliWith({"digest", abc, empty});
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.out, abc + "     900150983cd24fb0d6963f7d28e17f72\n" + empty +
                            "     d41d8cd98f00b204e9800998ecf8427e\n");
    EXPECT_EQ(good.err, "");

    const CliRun bad = RunCliWith({"digest", folder / "missing", abc});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, (folder / "missing") + "     Could not open file\n" + abc +
                           "     900150983cd24fb0d6963f7d28e17f72\n");
}

TEST(DigestCommand, SavesTheListWithDashOAndPrintsNothing) {
    TempFolder folder;
    const std::string abc = folder.Write("abc", "abc");
    const CliRun run = RunCliWith({"digest", "-o", folder / "list.txt", abc});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(ReadFileBytes(folder / "list.txt"),
              abc + "     900150983cd24fb0d6963f7d28e17f72\r\n");

    const CliRun failed = RunCliWith({"digest", "-o", folder / "missing/list.txt", abc});
    EXPECT_EQ(failed.status, 2);
    EXPECT_NE(failed.err.find(folder / "missing/list.txt"), std::string::npos) << failed.err;
}

TEST(DigestCommand, UsageErrorsGoToStandardErrorWithStatusTwo) {
    const cli::Arguments cases[] = {
        {},
        {"digest"},
        {"digest", "-o"},
        {"digest", "-o", "list.txt"},
        {"digest", "--bogus", "x"},
        {"frobnicate"},
    };
    for (const auto& arguments : cases) {
        const CliRun run = RunCliWith(arguments);
        EXPECT_EQ(run.status, 2) << ::testing::PrintToString(arguments);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("Usage: quorvix-cli"), std::string::npos);
    }
}

TEST(DigestCommand, DoubleDashLetsAFileNameBeginWithADash) {
    TempFolder folder;
    folder.Write("-o", "abc");
    const std::string path = folder / "-o";
    const CliRun run = RunCliWith({"digest", "--", path});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, path + "     900150983cd24fb0d6963f7d28e17f72\n");
}

TEST(Cli, HelpAndVersionGoToStandardOutput) {
    const CliRun help = RunCliWith({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, cli::UsageText());
    const CliRun version = RunCliWith({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("quorvix-cli ", 0), 0u);
}

} // namespace
} // namespace quorvix
