#include "checksum/TextLineReader.h"

#include "platform/FileErrors.h"
#include "platform/OpenFileForReading.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace quorvix {
namespace {

constexpr char LineFeed = '\n';
constexpr char CarriageReturn = '\r';
constexpr char ControlZ = '\x1a';

// Appends text without its CR bytes: a CR either belongs to a CR LF line end or is dropped.
void AppendWithoutCarriageReturns(std::string& line, const char* text, std::size_t length) {
    const std::size_t start = line.size();
    line.append(text, length);
    if (std::memchr(text, CarriageReturn, length) != nullptr) {
        line.erase(std::remove(line.begin() + static_cast<std::ptrdiff_t>(start), line.end(),
                               CarriageReturn),
                   line.end());
    }
}

} // namespace

TextLineReader::TextLineReader(const std::string& path) : path_(path) {
    // A pipe is read too, so that a check file can come from another program; it ends when its
    // writer closes it.
    OpenedFile file = OpenFileForReading(path, true);
    fd_ = std::move(file.fd);
    if (file.isRegular) {
        ::posix_fadvise(fd_.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    chunk_ = std::make_unique_for_overwrite<char[]>(ChunkSize);
}

bool TextLineReader::Fill() {
    if (position_ < length_) {
        return true;
    }
    position_ = 0;
    length_ = 0;
    for (;;) {
        const ssize_t got = ::read(fd_.Get(), chunk_.get(), ChunkSize);
        if (got >= 0) {
            length_ = static_cast<std::size_t>(got);
            return length_ > 0;
        }
        if (errno != EINTR) {
            throw InputOutputError("Cannot read file \"" + path_ + "\". " + SystemErrorText(errno));
        }
    }
}

bool TextLineReader::NextLine(std::string& line) {
    line.clear();
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
            AppendWithoutCarriageReturns(line, begin, static_cast<std::size_t>(controlZ - begin));
            textEnded = true;
            // A second Ctrl-Z later in the same passed-over rest ends the file.
            const std::size_t rest = segment - static_cast<std::size_t>(controlZ - begin) - 1;
            if (std::memchr(controlZ + 1, ControlZ, rest) != nullptr) {
                atEnd_ = true;
            }
        } else {
            AppendWithoutCarriageReturns(line, begin, segment);
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
