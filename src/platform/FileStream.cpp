#include "platform/FileStream.h"

#include "platform/FileErrors.h"
#include "platform/OpenFileForReading.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace quorvix {

FileStream::FileStream(const std::string& path, FileReadProgress progress)
    : path_(path), progress_(std::move(progress)) {
    OpenedFile file = OpenFileForReading(path, false);
    fd_ = std::move(file.fd);
    size_ = file.size;
    // A small file gets a buffer of its own size, read in one call: on folders of many small
    // files the cost per file, not per byte, decides the speed.
    constexpr std::uint64_t Page = 4096;
    chunkCapacity_ = static_cast<std::size_t>(
        std::clamp<std::uint64_t>((size_ + Page - 1) / Page * Page, Page, ChunkSize));
    if (size_ > chunkCapacity_) {
        ::posix_fadvise(fd_.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    chunk_ = std::make_unique_for_overwrite<std::uint8_t[]>(chunkCapacity_);
}

void FileStream::Refill() {
    chunkStart_ = position_;
    chunkLength_ = 0;
    for (;;) {
        const ssize_t got =
            ::pread(fd_.Get(), chunk_.get(), chunkCapacity_, static_cast<off_t>(position_));
        if (got >= 0) {
            chunkLength_ = static_cast<std::size_t>(got);
            break;
        }
        if (errno != EINTR) {
            throw InputOutputError("Cannot read file \"" + path_ + "\". " + SystemErrorText(errno));
        }
    }
    bytesRead_ += chunkLength_;
    if (progress_ && chunkLength_ > 0) {
        progress_(bytesRead_, size_);
    }
}

std::size_t FileStream::Read(void* buffer, std::size_t count) {
    if (position_ < chunkStart_ || position_ >= chunkStart_ + chunkLength_) {
        Refill();
    }
    const std::size_t offset = static_cast<std::size_t>(position_ - chunkStart_);
    const std::size_t available = chunkLength_ - offset;
    const std::size_t taken = count < available ? count : available;
    std::memcpy(buffer, chunk_.get() + offset, taken);
    position_ += taken;
    return taken;
}

} // namespace quorvix
