#include "checksum/CheckFileLineParser.h"

#include "checksum/CheckFileFormat.h"

namespace quorvix {
namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::uint64_t TimeStampLine = 3;

} // namespace

std::optional<ChecksumLine> CheckFileLineParser::Parse(std::string_view line) {
    ++linesSeen_;
    if (linesSeen_ == 1 && line.starts_with(ByteOrderMark)) {
        line.remove_prefix(ByteOrderMark.size());
    }
    if (linesSeen_ == TimeStampLine) {
        madeAt_ = ParseCheckFileTimeStamp(line);
    }
    return ParseChecksumLine(line);
}

} // namespace quorvix
