#include "checksum/ChecksumLineFormats.h"

#include "checksum/FileDigest.h"
#include "platform/FileSystem.h"

#include <algorithm>

namespace quorvix {
namespace {

constexpr std::size_t DigestLength = 32;
constexpr std::string_view BsdStart = "MD5 (";
constexpr std::string_view BsdMiddle = ") = ";

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsHexDigest(std::string_view text) {
    return text.size() == DigestLength && std::all_of(text.begin(), text.end(), IsHexDigit);
}

// md5sum's escapes: "\\", "\n" and "\r". Nothing for any other backslash sequence, or one cut
// off at the end, since such a line was not written by the escaping rule.
std::optional<std::string> Unescape(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            result.push_back(text[i]);
            continue;
        }
        if (++i == text.size()) {
            return std::nullopt;
        }
        switch (text[i]) {
        case '\\':
            result.push_back('\\');
            break;
        case 'n':
            result.push_back('\n');
            break;
        case 'r':
            result.push_back('\r');
            break;
        default:
            return std::nullopt;
        }
    }
    return result;
}

bool NeedsEscaping(std::string_view path) {
    return path.find_first_of("\\\n\r") != std::string_view::npos;
}

std::string Escape(std::string_view path) {
    std::string result;
    result.reserve(path.size() + 8);
    for (const char c : path) {
        switch (c) {
        case '\\':
            result += "\\\\";
            break;
        case '\n':
            result += "\\n";
            break;
        case '\r':
            result += "\\r";
            break;
        default:
            result.push_back(c);
        }
    }
    return result;
}

// Takes the path field of a line that was escaped (the leading '\' already removed) or not.
std::optional<ChecksumLine> WithPath(ChecksumLineFormat format, std::string_view digest,
                                     std::string_view path, bool escaped) {
    ChecksumLine parsed{format, std::string(digest), std::string(path),
                        PathFieldSeparators::BackslashToo};
    if (escaped) {
        std::optional<std::string> unescaped = Unescape(path);
        if (!unescaped) {
            return std::nullopt;
        }
        parsed.pathField = std::move(*unescaped);
        parsed.separators = PathFieldSeparators::SlashOnly;
    }
    return parsed;
}

// <32 hex><space><space or *><path>; the path must not be empty.
std::optional<ChecksumLine> ParseGnu(std::string_view line, bool escaped) {
    if (line.size() < DigestLength + 3 || !IsHexDigest(line.substr(0, DigestLength)) ||
        line[DigestLength] != ' ' ||
        (line[DigestLength + 1] != ' ' && line[DigestLength + 1] != '*')) {
        return std::nullopt;
    }
    return WithPath(ChecksumLineFormat::Gnu, line.substr(0, DigestLength),
                    line.substr(DigestLength + 2), escaped);
}

// MD5 (<path>) = <32 hex>. The digest is the line's end, so a path may itself hold ") = ".
std::optional<ChecksumLine> ParseBsd(std::string_view line, bool escaped) {
    const std::size_t fixed = BsdStart.size() + BsdMiddle.size() + DigestLength;
    if (line.size() <= fixed || !line.starts_with(BsdStart)) {
        return std::nullopt;
    }
    const std::string_view digest = line.substr(line.size() - DigestLength);
    const std::string_view beforeDigest = line.substr(0, line.size() - DigestLength);
    if (!beforeDigest.ends_with(BsdMiddle) || !IsHexDigest(digest)) {
        return std::nullopt;
    }
    const std::string_view path = beforeDigest.substr(
        BsdStart.size(), beforeDigest.size() - BsdStart.size() - BsdMiddle.size());
    return WithPath(ChecksumLineFormat::Bsd, digest, path, escaped);
}

} // namespace

std::optional<ChecksumLine> ParseOwnChecksumLine(std::string_view line) {
    if (line.empty() || line.front() == ';' || line.find('\t') != DigestLength) {
        return std::nullopt;
    }
    return ChecksumLine{ChecksumLineFormat::Own, std::string(line.substr(0, DigestLength)),
                        std::string(line.substr(DigestLength + 1)),
                        PathFieldSeparators::BackslashToo};
}

std::optional<ChecksumLine> ParseChecksumLine(std::string_view line) {
    if (auto own = ParseOwnChecksumLine(line)) {
        return own;
    }
    // md5sum marks a line whose path it escaped with a leading '\'.
    const bool escaped = line.starts_with('\\');
    const std::string_view rest = escaped ? line.substr(1) : line;
    if (auto gnu = ParseGnu(rest, escaped)) {
        return gnu;
    }
    return ParseBsd(rest, escaped);
}

std::string PathWithPlatformSeparators(std::string pathField, PathFieldSeparators separators) {
    if (separators == PathFieldSeparators::BackslashToo) {
        std::replace(pathField.begin(), pathField.end(), '\\', PathSeparator);
    }
    return pathField;
}

std::string GnuChecksumLine(std::string_view digestText, std::string_view path) {
    const bool escaped = NeedsEscaping(path);
    std::string line = escaped ? "\\" : "";
    line += LowerCaseAscii(std::string(digestText));
    line += "  ";
    line += escaped ? Escape(path) : std::string(path);
    return line;
}

std::string BsdChecksumLine(std::string_view digestText, std::string_view path) {
    const bool escaped = NeedsEscaping(path);
    std::string line = escaped ? "\\" : "";
    line += BsdStart;
    line += escaped ? Escape(path) : std::string(path);
    line += BsdMiddle;
    line += LowerCaseAscii(std::string(digestText));
    return line;
}

} // namespace quorvix
