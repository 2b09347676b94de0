// The check file's lines: the header, the entry lines, how a line read back is classified, how
// its paths are resolved and how its digests are compared.
#pragma once

#include "platform/LocalTime.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quorvix {

// One entry line read back from a check file.
struct CheckFileEntry {
    std::string digestField; // the 32 bytes before the TAB, unchanged and untested
    std::string pathField;   // everything after the TAB, possibly empty, with '\' taken as '/'
};

// The four header lines of a check file, without line ends: the product line, the download
// line with the product's web page, ";" with the time stamp "YYYY-MM-DD hh<sep>mm<sep>ss" of
// localTime, and an empty line. Cannot fail.
std::array<std::string, 4> CheckFileHeader(const LocalDateTime& localTime, char timeSeparator);

// The entry line for one file, without line end: digestText lower-cased (ASCII letters only), a
// TAB, relativePath. Cannot fail.
std::string CheckFileEntryLine(std::string_view digestText, std::string_view relativePath);

// True when a relative path can be written into an entry line and read back as itself: it holds
// no line end (CR or LF), no Ctrl-Z (which ends a check file's text) and, where the separator is
// '/', no '\' (read back as a separator, since check files travel from Windows). Cannot fail.
bool PathCanBeStored(std::string_view relativePath);

// Classifies one line as TextLineReader yields it. A line is an entry when it does not begin with
// ';' and its first TAB stands right after its first 32 bytes; anything else is no entry and gives
// nothing. Each '\' in the path field becomes '/', so that check files made on Windows resolve
// here. Cannot fail.
std::optional<CheckFileEntry> ParseCheckFileLine(std::string_view line);

// The time stamp of a check file's third header line, ";YYYY-MM-DD hh:mm:ss" with any single
// non-digit character in place of both ':' (the maker's locale chose it), exactly as
// CheckFileHeader writes it. Nothing when line is not such a stamp or names no possible date and
// time. Cannot fail.
std::optional<LocalDateTime> ParseCheckFileTimeStamp(std::string_view line);

// The folder against which a check file's path fields resolve: checkFilePath up to and including
// its last '/'. A check file named without a folder lies in the current folder, which gives "./".
// An entry's full path is this prefix followed directly by its path field. Cannot fail.
std::string CheckFileFolderPrefix(std::string_view checkFilePath);

// True when the stored digest field and a file's digest text are equal once ASCII letters are
// lower-cased; a field that is not 32 hexadecimal digits never matches a real digest. Cannot fail.
bool DigestsMatch(std::string_view digestField, std::string_view fileDigestText);

} // namespace quorvix
