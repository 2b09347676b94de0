#include "checksum/TextLineReader.h"

#include <algorithm>
#include <cstring>

namespace quorvix {
namespace {

constexpr char LineFeed = '\n';
constexpr char CarriageReturn = '\r';
constexpr char ControlZ = '\x1a';

// Appends text without its CR bytes: a CR either belongs to a CR LF line end or is dropped. Text
// beyond the longest line kept is not stored; overlong tells that some was left out.
void AppendWithoutCarriageReturns(std::string& line, const char* text, std::size_t length,
                                  bool& overlong) {
    const char* const end = text + length;
    while (!overlong && text < end) {
        const auto* carriageReturn =
            static_cast<const char*>(std::memchr(text, CarriageReturn, end - text));
        const char* runEnd = carriageReturn != nullptr ? carriageReturn : end;
        const auto run = static_cast<std::size_t>(runEnd - text);
        if (run > TextLineReader::MaxLineLength - line.size()) {
            overlong = true;
            line.clear();
            return;
        }
        line.append(text, run);
        text = carriageReturn != nullptr ? carriageReturn + 1 : end;
    }
}

} // namespace

// A pipe is read too, so that a check file can come from another program; it ends when its
// writer closes it.
TextLineReader::TextLineReader(const std::string& path)
    : file_(path, AcceptedInput::RegularFilesAndPipes) {
    file_.AdviseSequentialReading();
    chunk_ = std::make_unique_for_overwrite<char[]>(ChunkSize);
}

bool TextLineReader::Fill() {
    if (position_ < length_) {
        return true;
    }
    position_ = 0;
    length_ = file_.Read(chunk_.get(), ChunkSize);
    return length_ > 0;
}

bool TextLineReader::NextLine(std::string& line) {
    bool overlong = false;
    while (ReadLine(line, overlong)) {
        if (!overlong) {
            return true;
        }
    }
    return false;
}

bool TextLineReader::ReadLine(std::string& line, bool& overlong) {
    line.clear();
    overlong = false;
    if (atEnd_ || !Fill()) {
        atEnd_ = true;
        return false;
    }
    if (chunk_[position_] == ControlZ) {
        atEnd_ = true;
        return false;
    }

    bool textEnded = false; // a Ctrl-Z has cut the text; the rest of the line is passed over
    while (Fill()) {
        const char* begin = chunk_.get() + position_;
        const std::size_t available = length_ - position_;
        const auto* lineFeed = static_cast<const char*>(std::memchr(begin, LineFeed, available));
        const std::size_t segment =
            lineFeed != nullptr ? static_cast<std::size_t>(lineFeed - begin) : available;

        const auto* controlZ = static_cast<const char*>(std::memchr(begin, ControlZ, segment));
        if (textEnded) {
            if (controlZ != nullptr) {
                atEnd_ = true;
            }
        } else if (controlZ != nullptr) {
            AppendWithoutCarriageReturns(line, begin, static_cast<std::size_t>(controlZ - begin),
                                         overlong);
            textEnded = true;
            // A second Ctrl-Z later in the same passed-over rest ends the file.
            const std::size_t rest = segment - static_cast<std::size_t>(controlZ - begin) - 1;
            if (std::memchr(controlZ + 1, ControlZ, rest) != nullptr) {
                atEnd_ = true;
            }
        } else {
            AppendWithoutCarriageReturns(line, begin, segment, overlong);
        }

        position_ += segment;
        if (lineFeed != nullptr) {
            ++position_;
            return true;
        }
    }
    // The end of the data ends the last line.
    atEnd_ = true;
    return true;
}

} // namespace quorvix
