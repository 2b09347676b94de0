// Reading a check file's lines in order: its digest lines and the time it was made.
#pragma once

#include "checksum/ChecksumLineFormats.h"
#include "platform/LocalTime.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvix {

// Takes every line of one check file, in file order, as TextLineReader yields them.
class CheckFileLineParser {
public:
    // The digest line that line holds, or nothing (see ParseChecksumLine). A UTF-8 byte-order
    // mark at the start of the first line is passed over, so that an editor that adds one does
    // not cost the first entry. Cannot fail.
    std::optional<ChecksumLine> Parse(std::string_view line);

    // The time stamp of the third line when it is the maker's ";YYYY-MM-DD hh:mm:ss", once that
    // line has been parsed; nothing otherwise. Cannot fail.
    const std::optional<LocalDateTime>& MadeAt() const { return madeAt_; }

private:
    std::uint64_t linesSeen_ = 0;
    std::optional<LocalDateTime> madeAt_;
};

} // namespace quorvix
