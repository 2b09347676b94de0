#include "checksum/ChecksumLineFormats.h"

#include "checksum/CheckFileFormat.h"
#include "checksum/CheckFileLineParser.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace quorvix {
namespace {

using namespace std::string_literals;

const std::string Hex = "0123456789abcdef0123456789abcdef";
const std::string HexUpper = "0123456789ABCDEF0123456789ABCDEF";

struct LineCase {
    const char* name;
    std::string line;
    bool isEntry;
    ChecksumLineFormat format = ChecksumLineFormat::Own;
    std::string digest;
    std::string path; // the file it names here, separators made the platform's
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const LineCase& c, std::ostream* out) {
    *out << c.name;
}

// A line that starts with md5sum's escape mark. (Built by appending: GCC 12 warns falsely about
// a literal + std::string here.)
std::string Escaped(const std::string& rest) {
    std::string line = "\\";
    line += rest;
    return line;
}

LineCase NoEntry(const char* name, std::string line) {
    return {name, std::move(line), false, ChecksumLineFormat::Own, "", ""};
}

class ParseChecksumLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(ParseChecksumLineTest, GivesTheEntryOrNothing) {
    const LineCase& c = GetParam();
    const std::optional<ChecksumLine> parsed = ParseChecksumLine(c.line);
    ASSERT_EQ(parsed.has_value(), c.isEntry);
    if (parsed) {
        EXPECT_EQ(parsed->format, c.format);
        EXPECT_EQ(parsed->digestField, c.digest);
        EXPECT_EQ(PathWithPlatformSeparators(parsed->pathField, parsed->separators), c.path);
    }
}

constexpr auto Own = ChecksumLineFormat::Own;
constexpr auto Gnu = ChecksumLineFormat::Gnu;
constexpr auto Bsd = ChecksumLineFormat::Bsd;

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseChecksumLineTest,
    testing::Values(
        // Our own layout, unchanged, and first: these would also look like nothing else.
        LineCase{"Own", Hex + "\tdocs\\a.txt", true, Own, Hex, "docs/a.txt"},
        LineCase{"OwnNotHex", std::string(32, 'z') + "\ta", true, Own, std::string(32, 'z'), "a"},
        LineCase{"OwnEmptyPath", Hex + "\t", true, Own, Hex, ""},
        LineCase{"OwnWinsOverGnuLookalike", Hex + "\t  b", true, Own, Hex, "  b"},
        // md5sum's lines.
        LineCase{"GnuText", Hex + "  a b.txt", true, Gnu, Hex, "a b.txt"},
        LineCase{"GnuBinary", Hex + " *sub/x", true, Gnu, Hex, "sub/x"},
        LineCase{"GnuUpperCase", HexUpper + "  x", true, Gnu, HexUpper, "x"},
        LineCase{"GnuPathKeepsSpacesAndTabs", Hex + "   x\ty ", true, Gnu, Hex, " x\ty "},
        LineCase{"GnuFromWindowsTool", Hex + " *docs\\a.txt", true, Gnu, Hex, "docs/a.txt"},
        LineCase{"GnuEscapedBackslashIsPartOfName", Escaped(Hex) + "  a\\\\b", true, Gnu, Hex,
                 "a\\b"},
        LineCase{"GnuEscapedNewlineAndCr", Escaped(Hex) + "  a\\nb\\rc", true, Gnu, Hex, "a\nb\rc"},
        LineCase{"GnuEscapedBinary", Escaped(Hex) + " *d\\\\e", true, Gnu, Hex, "d\\e"},
        // BSD tag lines.
        LineCase{"Bsd", "MD5 (a b.txt) = "s + Hex, true, Bsd, Hex, "a b.txt"},
        LineCase{"BsdUpperCase", "MD5 (x) = "s + HexUpper, true, Bsd, HexUpper, "x"},
        LineCase{"BsdPathWithParenthesesAndEquals", "MD5 (f) = (g)) = "s + Hex, true, Bsd, Hex,
                 "f) = (g)"},
        LineCase{"BsdFromWindowsTool", "MD5 (docs\\a) = "s + Hex, true, Bsd, Hex, "docs/a"},
        LineCase{"BsdEscaped", "\\MD5 (a\\\\b\\nc) = "s + Hex, true, Bsd, Hex, "a\\b\nc"},
        // Near misses: passed over.
        NoEntry("Empty", ""), NoEntry("Comment", "; "s + Hex + "  x"),
        NoEntry("GnuOneSpace", Hex + " x"), NoEntry("GnuTwoSpacesNoPath", Hex + "  "),
        NoEntry("GnuShortDigest", Hex.substr(1) + "  x"), NoEntry("GnuLongDigest", Hex + "0  x"),
        NoEntry("GnuNotHex", "g"s + Hex.substr(1) + "  x"),
        NoEntry("GnuLeadingSpace", " "s + Hex + "  x"),
        NoEntry("GnuTabInsteadOfSpace", Hex + " \tx"),
        NoEntry("GnuEscapedUnknownEscape", Escaped(Hex) + "  a\\tb"),
        NoEntry("GnuEscapedTrailingBackslash", Escaped(Hex) + "  a\\"),
        NoEntry("GnuSha1Length", std::string(40, 'a') + "  x"),
        NoEntry("BsdEmptyPath", "MD5 () = "s + Hex),
        NoEntry("BsdOtherAlgorithm", "SHA1 (x) = "s + Hex),
        NoEntry("BsdLowerCaseTag", "md5 (x) = "s + Hex),
        NoEntry("BsdNoSpaceBeforeParenthesis", "MD5(x) = "s + Hex),
        NoEntry("BsdShortDigest", "MD5 (x) = "s + Hex.substr(1)),
        NoEntry("BsdTrailingText", "MD5 (x) = "s + Hex + " "),
        NoEntry("BsdNotHex", "MD5 (x) = "s + Hex.substr(1) + "g"),
        NoEntry("BsdEscapedUnknownEscape", "\\MD5 (a\\qb) = "s + Hex)),
    [](const testing::TestParamInfo<LineCase>& info) { return info.param.name; });

TEST(ParseCheckFileLine, StillReadsOnlyOurOwnLayout) {
    EXPECT_FALSE(ParseCheckFileLine(Hex + "  x"));
    EXPECT_FALSE(ParseCheckFileLine("MD5 (x) = "s + Hex));
    const auto own = ParseCheckFileLine(Hex + "\ta\\b");
    ASSERT_TRUE(own);
    EXPECT_EQ(own->pathField, "a/b");
}

TEST(ChecksumLineWriters, WriteLowerCaseDigestsAndEscapeOnlyWhenNeeded) {
    EXPECT_EQ(GnuChecksumLine(HexUpper, "dir/a b.txt"), Hex + "  dir/a b.txt");
    EXPECT_EQ(GnuChecksumLine(Hex, "a\\b\nc\rd"), Escaped(Hex) + "  a\\\\b\\nc\\rd");
    EXPECT_EQ(BsdChecksumLine(HexUpper, "dir/a b.txt"), "MD5 (dir/a b.txt) = "s + Hex);
    EXPECT_EQ(BsdChecksumLine(Hex, "a\\b\nc"), "\\MD5 (a\\\\b\\nc) = "s + Hex);
}

TEST(ChecksumLineWriters, WhatTheyWriteReadsBackAsTheSameName) {
    for (const std::string& path : {"plain"s, "with space"s, " lead"s, "a\\b"s, "line\nbreak"s,
                                    "cr\rname"s, "\\\\n"s, "x) = y"s, "*star"s, "中文/名字"s}) {
        for (const std::string& line : {GnuChecksumLine(Hex, path), BsdChecksumLine(Hex, path)}) {
            const auto parsed = ParseChecksumLine(line);
            ASSERT_TRUE(parsed) << line;
            EXPECT_EQ(parsed->digestField, Hex);
            // A name holding '\' is escaped, so its '\' stays part of the name.
            EXPECT_EQ(PathWithPlatformSeparators(parsed->pathField, parsed->separators), path)
                << line;
        }
    }
}

TEST(ParseCheckFileTimeStamp, ReadsWhatTheHeaderWritesWithAnySeparator) {
    for (const char separator : {':', '.', 'h'}) {
        const auto header = CheckFileHeader({2024, 3, 5, 14, 7, 9}, separator);
        const auto stamp = ParseCheckFileTimeStamp(header[2]);
        ASSERT_TRUE(stamp) << header[2];
        EXPECT_EQ(stamp->year, 2024);
        EXPECT_EQ(stamp->month, 3);
        EXPECT_EQ(stamp->day, 5);
        EXPECT_EQ(stamp->hour, 14);
        EXPECT_EQ(stamp->minute, 7);
        EXPECT_EQ(stamp->second, 9);
    }
    for (const char* bad :
         {"", ";2024-03-05 14:07", ";2024-03-05 14:07:09 ", "2024-03-05 14:07:09;",
          ";2024-03-05T14:07:09", ";2024/03/05 14:07:09", ";2024-03-05 14:07.09",
          ";2024-03-05 1407109", ";2024-13-05 14:07:09", ";2023-02-29 14:07:09",
          ";2024-03-05 24:07:09", ";2024-03-05 14:60:09", ";MD5 sums generated by Quorvix"}) {
        EXPECT_FALSE(ParseCheckFileTimeStamp(bad)) << bad;
    }
    EXPECT_TRUE(ParseCheckFileTimeStamp(";2024-02-29 00:00:00"));
}

TEST(CheckFileLineParser, PassesOverAByteOrderMarkOnlyAtTheStart) {
    const std::string bom = "\xEF\xBB\xBF";
    CheckFileLineParser parser;
    const auto first = parser.Parse(bom + Hex + "  a");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->pathField, "a");
    EXPECT_FALSE(parser.Parse(bom + Hex + "  b"));

    CheckFileLineParser own;
    const auto entry = own.Parse(bom + Hex + "\tc");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->format, ChecksumLineFormat::Own);
    EXPECT_EQ(entry->pathField, "c");
}

TEST(CheckFileLineParser, TakesTheTimeStampFromTheThirdLineOnly) {
    CheckFileLineParser parser;
    parser.Parse("\xEF\xBB\xBF;MD5 sums generated by Quorvix");
    parser.Parse(";x");
    EXPECT_FALSE(parser.MadeAt());
    parser.Parse(";2024-03-05 14:07:09");
    ASSERT_TRUE(parser.MadeAt());
    EXPECT_EQ(parser.MadeAt()->hour, 14);
    parser.Parse(";2030-01-01 00:00:00");
    EXPECT_EQ(parser.MadeAt()->year, 2024);

    CheckFileLineParser late;
    late.Parse(";a");
    late.Parse(";b");
    late.Parse(";c");
    late.Parse(";2024-03-05 14:07:09");
    EXPECT_FALSE(late.MadeAt());
}

} // namespace
} // namespace quorvix
