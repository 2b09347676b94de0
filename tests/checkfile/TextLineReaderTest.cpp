#include "checksum/TextLineReader.h"

#include "TestSupport.h"
#include "platform/FileErrors.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace quorvix {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

Lines ReadLines(const std::string& path) {
    TextLineReader reader(path);
    Lines lines;
    std::string line;
    while (reader.NextLine(line)) {
        lines.push_back(line);
    }
    // The end stays the end.
    EXPECT_FALSE(reader.NextLine(line));
    EXPECT_TRUE(line.empty());
    return lines;
}

Lines ReadBytes(const std::string& bytes) {
    test::TempFolder folder;
    folder.Write("lines.txt", bytes);
    return ReadLines(folder / "lines.txt");
}

struct LineCase {
    const char* name;
    std::string bytes;
    Lines lines;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const LineCase& c, std::ostream* out) {
    *out << c.name;
}

class LineRulesTest : public testing::TestWithParam<LineCase> {};

TEST_P(LineRulesTest, YieldsTheLines) {
    EXPECT_EQ(ReadBytes(GetParam().bytes), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, LineRulesTest,
    testing::Values(LineCase{"EmptyFile", "", {}}, LineCase{"CrLf", "a\r\nb\r\n", {"a", "b"}},
                    LineCase{"LoneLf", "a\nb\n", {"a", "b"}},
                    LineCase{"MixedEnds", "a\r\nb\nc\r\n", {"a", "b", "c"}},
                    LineCase{"LastLineWithoutEnd", "a\r\nb", {"a", "b"}},
                    LineCase{"NoExtraLineAfterFinalEnd", "a\r\n", {"a"}},
                    LineCase{"EmptyLinesKept", "\r\n\n\r\nx", {"", "", "", "x"}},
                    LineCase{"LoneCrDropped", "a\rb\r\n", {"ab"}},
                    LineCase{"CrCrLf", "a\r\r\nb", {"a", "b"}},
                    LineCase{"CrAtEndOfData", "a\r", {"a"}}, LineCase{"OnlyCr", "\r", {""}},
                    LineCase{"CtrlZAtLineStartEndsFile",
                             "a\r\n\x1a"
                             "b\r\nc\r\n",
                             {"a"}},
                    LineCase{"CtrlZAfterLastLine", "a\r\nb\r\n\x1a", {"a", "b"}},
                    LineCase{"CtrlZAsWholeFile", "\x1a", {}},
                    LineCase{"CtrlZInsideLineCutsIt",
                             "ab\x1a"
                             "cd\r\nef\r\n",
                             {"ab", "ef"}},
                    LineCase{"SecondCtrlZInRestEndsFile",
                             "ab\x1a"
                             "c\x1a"
                             "d\r\nef\r\n",
                             {"ab"}},
                    LineCase{"CtrlZInsideLastLine",
                             "ab\x1a"
                             "cd",
                             {"ab"}},
                    LineCase{"ByteOrderMarkIsText", "\xEF\xBB\xBF;x\r\n", {"\xEF\xBB\xBF;x"}},
                    LineCase{"NulBytesAreText", "a\0b\r\n\0\n"s, {"a\0b"s, "\0"s}},
                    LineCase{"HighBytesAreText", "\xff\xfe\x80\n", {"\xff\xfe\x80"}}),
    [](const testing::TestParamInfo<LineCase>& info) { return info.param.name; });

// The obvious byte-by-byte reading of the line rules, to hold the chunked reader against.
Lines ReferenceLines(const std::string& bytes) {
    Lines lines;
    std::size_t i = 0;
    while (i < bytes.size() && bytes[i] != '\x1a') {
        std::string line;
        bool cut = false;
        bool fileEnds = false;
        for (; i < bytes.size() && bytes[i] != '\n'; ++i) {
            if (bytes[i] == '\x1a') {
                fileEnds = cut;
                cut = true;
            } else if (!cut && bytes[i] != '\r') {
                line.push_back(bytes[i]);
            }
            if (fileEnds) {
                break;
            }
        }
        lines.push_back(line);
        if (fileEnds) {
            return lines;
        }
        ++i; // the LF
    }
    return lines;
}

TEST(TextLineReader, AgreesWithTheRulesAcrossChunkBoundaries) {
    // Line ends, CRs and Ctrl-Zs falling on every kind of place around the chunk boundaries,
    // and lines longer than a chunk.
    std::mt19937 random(12345);
    for (int round = 0; round < 40; ++round) {
        std::string bytes;
        const std::size_t size = TextLineReader::ChunkSize * 2 + random() % 4096;
        const unsigned ctrlZOdds = round % 4 == 0 ? 200000 : 0; // rare, so most rounds run long
        const unsigned lineOdds = round % 5 == 0 ? 1000000 : 60;
        while (bytes.size() < size) {
            const unsigned pick = random() % 1000000;
            if (ctrlZOdds != 0 && pick % ctrlZOdds == 0) {
                bytes.push_back('\x1a');
            } else if (pick % lineOdds == 1) {
                bytes.push_back('\n');
            } else if (pick % 97 == 2) {
                bytes.push_back('\r');
            } else {
                bytes.push_back(static_cast<char>('a' + pick % 26));
            }
        }
        // A CR LF and a CR exactly across the first boundary.
        if (round % 2 == 1) {
            bytes[TextLineReader::ChunkSize - 1] = '\r';
            bytes[TextLineReader::ChunkSize] = '\n';
        } else {
            bytes[TextLineReader::ChunkSize - 1] = '\r';
            bytes[TextLineReader::ChunkSize] = 'x';
        }
        SCOPED_TRACE("round " + std::to_string(round));
        EXPECT_EQ(ReadBytes(bytes), ReferenceLines(bytes));
    }
}

TEST(TextLineReader, KeepsLinesUpToTheLimitAndPassesOverLongerOnesWhole) {
    const std::size_t limit = TextLineReader::MaxLineLength;
    const std::string longest(limit, 'q');
    const std::string tooLong(limit + 1, 'q');
    // CR bytes vanish from the text, so they do not count against the limit.
    const std::string longestWithCarriageReturns =
        longest.substr(0, limit / 2) + "\r\r" + longest.substr(limit / 2);
    struct Case {
        std::string bytes;
        Lines lines;
    };
    for (const Case& c : {
             Case{"first\r\n" + longest + "\r\nlast", {"first", longest, "last"}},
             Case{"first\r\n" + tooLong + "\r\nlast", {"first", "last"}},
             Case{longestWithCarriageReturns + "\n", {longest}},
             Case{tooLong, {}},
             // A Ctrl-Z in the passed-over part still ends the text; a second one ends the file.
             Case{tooLong + "\x1a rest \x1a\nnever", {}},
             Case{"a" + tooLong + "\x1a rest\nnext", {"next"}},
         }) {
        SCOPED_TRACE(c.bytes.size());
        const Lines lines = ReadBytes(c.bytes);
        EXPECT_EQ(lines.size(), c.lines.size());
        EXPECT_TRUE(lines == c.lines); // no dump of megabytes on failure
    }
}

#ifndef _WIN32 // POSIX error texts and /dev/null; WindowsPathsTest has the Windows ones
TEST(TextLineReader, FailsToOpenWhatIsNoReadableFile) {
    test::TempFolder folder;
    EXPECT_THROW(TextLineReader{folder / "absent.md5"}, FileOpenError);
    EXPECT_THROW(TextLineReader{folder.Path()}, FileOpenError);
    EXPECT_THROW(TextLineReader{"/dev/null"}, FileOpenError);
    try {
        TextLineReader reader(folder / "absent.md5");
    } catch (const FileOpenError& failure) {
        EXPECT_EQ(std::string(failure.what()), "Cannot open file \"" + (folder / "absent.md5") +
                                                   "\". No such file or directory");
    }
}
#endif

#ifndef _WIN32 // FIFOs are POSIX-only
TEST(TextLineReader, AFifoWithoutWriterReadsAsEmptyAndDoesNotHang) {
    test::TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    EXPECT_TRUE(ReadLines(folder / "pipe").empty());
}
#endif

} // namespace
} // namespace quorvix
