#include "platform/FileStream.h"

#include "platform/FileErrors.h"

#include <algorithm>
#include <cstring>

namespace quorvix {

FileStream::FileStream(const std::string& path, FileReadProgress progress)
    : file_(path, AcceptedInput::RegularFiles), progress_(std::move(progress)) {
    Prepare();
}

FileStream::FileStream(const std::string& path, SeenRegularFile seen) : file_(path, seen) {
    Prepare();
}

FileStream::FileStream(const Folder& folder, const std::string& name, std::string displayPath)
    : file_(folder, name, std::move(displayPath), AcceptedInput::RegularFiles) {
    Prepare();
}

void FileStream::Prepare() {
    size_ = file_.Size();
    // A small file gets a buffer of its own size, read in one call: on folders of many small
    // files the cost per file, not per byte, decides the speed.
    constexpr std::uint64_t Page = 4096;
    chunkCapacity_ = static_cast<std::size_t>(
        std::clamp<std::uint64_t>((size_ + Page - 1) / Page * Page, Page, ChunkSize));
    if (size_ > chunkCapacity_) {
        file_.AdviseSequentialReading();
    }
    chunk_ = std::make_unique_for_overwrite<std::uint8_t[]>(chunkCapacity_);
}

void FileStream::Refill() {
    chunkStart_ = position_;
    chunkLength_ = file_.ReadAt(position_, chunk_.get(), chunkCapacity_);
    const std::uint64_t end = chunkStart_ + chunkLength_;
    // Data past the size at open, or an end before it: the file was written while it was read.
    if (end > size_ || (chunkLength_ == 0 && position_ < size_)) {
        throw InputOutputError("Cannot read file \"" + file_.Path() +
                               "\". It changed while it was being read");
    }
    // A read that stopped short exactly at the size at open saw the end where it should be.
    if (chunkLength_ < chunkCapacity_ && end == size_) {
        endSeenAtSize_ = true;
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
