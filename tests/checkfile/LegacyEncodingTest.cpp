#include "platform/LegacyEncoding.h"

#include "TestSupport.h"
#include "checksum/EntryPathResolver.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvix {
namespace {

using test::TempFolder;

// "中文" in GBK (and so in GB18030) and in UTF-8.
const std::string ChineseGbk = "\xD6\xD0\xCE\xC4";
const std::string ChineseUtf8 = "\xE4\xB8\xAD\xE6\x96\x87";
// "乗": its GBK form ends in 0x5C, the byte of '\'.
const std::string BackslashTrailGbk = "\x81\x5C";
const std::string BackslashTrailUtf8 = "\xE4\xB9\x97";

TEST(IsValidUtf8, AcceptsWellFormedTextOnly) {
    for (const std::string& good :
         {std::string(), std::string("plain"), ChineseUtf8, std::string("\xF0\x9F\x98\x80"),
          std::string("\xC2\x80"), std::string("\xED\x9F\xBF"), std::string("\xF4\x8F\xBF\xBF")}) {
        EXPECT_TRUE(IsValidUtf8(good)) << good;
    }
    for (const std::string& bad :
         {ChineseGbk, std::string("\x80"), std::string("\xC0\xAF"), std::string("\xC1\xBF"),
          std::string("\xE0\x9F\xBF"), std::string("\xED\xA0\x80"), std::string("\xF0\x8F\xBF\xBF"),
          std::string("\xF4\x90\x80\x80"), std::string("\xF5\x80\x80\x80"), std::string("\xE4\xB8"),
          std::string("a\xE4"), std::string("\xE4\x41\xAD")}) {
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    }
}

TEST(LegacyDecoder, ConvertsValidTextAndRefusesInvalidBytes) {
    const LegacyDecoder gb18030("GB18030");
    EXPECT_EQ(gb18030.ToUtf8("dir/" + ChineseGbk + ".txt"), "dir/" + ChineseUtf8 + ".txt");
    EXPECT_EQ(gb18030.ToUtf8(BackslashTrailGbk), BackslashTrailUtf8);
    EXPECT_EQ(gb18030.ToUtf8(""), "");
    EXPECT_FALSE(gb18030.ToUtf8("\xFF\xFF"));
    EXPECT_FALSE(gb18030.ToUtf8("ok\xD6")); // cut off in the middle of a character
    // The decoder is usable again after a refusal.
    EXPECT_EQ(gb18030.ToUtf8(ChineseGbk), ChineseUtf8);
    std::string longText;
    for (int i = 0; i < 3000; ++i) {
        longText += ChineseGbk;
    }
    EXPECT_EQ(gb18030.ToUtf8(longText)->size(), 3000u * ChineseUtf8.size());

    EXPECT_EQ(LegacyDecoder("cp1252").ToUtf8("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(LegacyDecoder("SHIFT_JIS").ToUtf8("\x93\xFA\x96\x7B"), "\xE6\x97\xA5\xE6\x9C\xAC");
}

TEST(LegacyDecoder, AnUnknownEncodingNameIsRefusedWithItsName) {
    try {
        LegacyDecoder decoder("NO-SUCH-CODEPAGE");
        FAIL() << "no exception";
    } catch (const UnknownEncodingError& error) {
        EXPECT_NE(std::string(error.what()).find("\"NO-SUCH-CODEPAGE\""), std::string::npos);
    }
}

ChecksumLine OwnLine(const std::string& path) {
    return {ChecksumLineFormat::Own, std::string(32, '0'), path, PathFieldSeparators::BackslashToo};
}

TEST(EntryPathResolver, RetriesANonUtf8PathFromTheLegacyEncodingOnlyWhenItNamesNoFile) {
    TempFolder folder;
    folder.Write(ChineseUtf8 + ".txt", "x");
    folder.Write("sub/" + BackslashTrailUtf8 + ".txt", "y");
    const std::string prefix = folder.Path() + "/";
    const EntryPathResolver resolver(prefix, "GB18030");

    EXPECT_EQ(resolver.Resolve(OwnLine(ChineseGbk + ".txt")), prefix + ChineseUtf8 + ".txt");
    // The separator is found after the conversion, so 0x5C inside a character is no separator.
    EXPECT_EQ(resolver.Resolve(OwnLine("sub\\" + BackslashTrailGbk + ".txt")),
              prefix + "sub/" + BackslashTrailUtf8 + ".txt");
    // No such file in either spelling, or bytes that are no GB18030: the path as found.
    EXPECT_EQ(resolver.Resolve(OwnLine(ChineseGbk + ".absent")), prefix + ChineseGbk + ".absent");
    EXPECT_EQ(resolver.Resolve(OwnLine("\xFF\xFE.txt")), prefix + "\xFF\xFE.txt");
    // Valid UTF-8 is never converted.
    EXPECT_EQ(resolver.Resolve(OwnLine("a\\b")), prefix + "a/b");

    // A file whose name is the legacy bytes themselves is taken as it stands.
    folder.Write(ChineseGbk + ".txt", "z");
    EXPECT_EQ(resolver.Resolve(OwnLine(ChineseGbk + ".txt")), prefix + ChineseGbk + ".txt");

    const EntryPathResolver noRetry(prefix, "");
    EXPECT_EQ(noRetry.Resolve(OwnLine("sub\\" + BackslashTrailGbk + ".txt")),
              prefix + "sub/\x81/.txt");
}

} // namespace
} // namespace quorvix
