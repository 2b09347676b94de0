// The digest lines a check file may hold: our own, and the two that other tools write, GNU
// md5sum's and the BSD tag form. Reading classifies a line; writing gives md5sum's and BSD's.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvix {

// Which tool's layout a digest line has.
enum class ChecksumLineFormat {
    Own, // <32 bytes><TAB><path>
    Gnu, // <32 hex digits><space><space or *><path>, md5sum's
    Bsd, // MD5 (<path>) = <32 hex digits>, the BSD tag form (md5sum --tag, md5 on BSD and macOS)
};

// What separates folder names in a line's path field.
enum class PathFieldSeparators {
    BackslashToo, // '\' is a separator as well: written by our own or a Windows program
    SlashOnly,    // '\' is part of a name: the line was escaped, as md5sum does for such names
};

// One digest line read back, its path field exactly as the line spells it (unescaped when the
// line was escaped) and not yet resolved against any folder.
struct ChecksumLine {
    ChecksumLineFormat format = ChecksumLineFormat::Own;
    std::string digestField; // 32 bytes; hexadecimal digits in either case unless format is Own
    std::string pathField;   // the raw bytes, with no separator replaced; may be empty for Own
    PathFieldSeparators separators = PathFieldSeparators::BackslashToo;
};

// Classifies one line as a check file holds it (without line end). Our own layout is tried
// first, so that every line that is an entry of ours stays exactly that entry; then md5sum's,
// then the BSD tag form. A line that fits none, or an escaped one with an unknown escape, gives
// nothing. Cannot fail.
std::optional<ChecksumLine> ParseChecksumLine(std::string_view line);

// Only our own layout: an entry when the line does not begin with ';' and its first TAB stands
// right after its first 32 bytes, which are not tested further. Cannot fail.
std::optional<ChecksumLine> ParseOwnChecksumLine(std::string_view line);

// pathField with every '\' made the platform's separator when separators says so, and unchanged
// otherwise. Cannot fail.
std::string PathWithPlatformSeparators(std::string pathField, PathFieldSeparators separators);

// The line md5sum writes for a file, which `md5sum -c` reads back: the digest text lower-cased,
// two spaces, the path. A path holding '\', LF or CR is escaped as md5sum escapes it: the line
// then begins with '\', and those bytes are written "\\", "\n" and "\r". Cannot fail.
std::string GnuChecksumLine(std::string_view digestText, std::string_view path);

// The BSD tag line for a file: "MD5 (<path>) = <lower-case digest>", escaped like
// GnuChecksumLine. Cannot fail.
std::string BsdChecksumLine(std::string_view digestText, std::string_view path);

} // namespace quorvix
