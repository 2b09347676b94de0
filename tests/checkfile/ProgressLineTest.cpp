#include "cli/ProgressLine.h"
#include "TestSupport.h"
#include "cli/Commands.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quorvix::cli {
namespace {

TEST(ProgressLine, DrawsInPlaceOnlyWhenWantedAndErasesItself) {
    std::ostringstream quiet;
    {
        ProgressLine line(quiet, false);
        line.Update({3, 10, 5 << 20});
    }
    EXPECT_TRUE(quiet.str().empty());

    std::ostringstream shown;
    {
        ProgressLine line(shown, true);
        line.Update({3, 10, 5 << 20});
        line.Update({4, 10, 6 << 20}); // within the redraw interval: not drawn
    }
    EXPECT_EQ(shown.str(), "\r3/10 files, 5.0 MiB\x1b[K\r\x1b[K");
}

TEST(ProgressLine, NeverReachesStandardOutput) {
    test::TempFolder folder;
    const std::string file = folder.Write("a", "abc");
    for (const char* flag : {"--progress", "--no-progress"}) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunCli({"digest", flag, file}, out, err), ExitSuccess);
        EXPECT_EQ(out.str(), file + "     900150983cd24fb0d6963f7d28e17f72\n");
        EXPECT_EQ(err.str().empty(), std::string(flag) == "--no-progress") << flag;
    }
    folder.Write("tree/b", "b");
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunCli({"make", "--progress", folder / "tree"}, out, err), ExitSuccess);
    EXPECT_EQ(out.str().find('\r'), std::string::npos);
    EXPECT_NE(err.str().find(" files, "), std::string::npos) << err.str();
}

} // namespace
} // namespace quorvix::cli
