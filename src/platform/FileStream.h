// A read-only file as a seekable stream, for the digest engine.
#pragma once

#include "md5/SeekableStream.h"
#include "platform/ReadableFile.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quorvix {

// Called after each read from the system with the bytes read so far and the file's size, so a
// front end can show progress on a large file or keep its window painted.
using FileReadProgress = std::function<void(std::uint64_t bytesRead, std::uint64_t size)>;

// An open regular file read in large chunks (few system calls, sequential read-ahead), handed
// out in whatever pieces the reader asks for.
class FileStream final : public SeekableStream {
public:
    // Opens an existing regular file for reading. Throws FileOpenError when the file does not
    // exist, may not be read, or is not a regular file (a folder, FIFO, socket or device).
    explicit FileStream(const std::string& path, FileReadProgress progress = {});

    // Opens path as a regular file of the size just seen (see ReadableFile), failing as above.
    FileStream(const std::string& path, SeenRegularFile seen);

    // Opens the file called name inside folder, failing as above; messages name displayPath.
    FileStream(const Folder& folder, const std::string& name, std::string displayPath);

    // Replaces the function told of each read from the system.
    void SetProgress(FileReadProgress progress) { progress_ = std::move(progress); }

    // The size the file had when it was opened.
    std::uint64_t Size() override { return size_; }
    std::uint64_t Position() override { return position_; }
    void Seek(std::uint64_t position) override { position_ = position; }
    // Throws InputOutputError when the system reports a read error, or when the file ends
    // before the size it had at open: a failing disk or a file cut short while it is read never
    // gives a silently shortened digest.
    std::size_t Read(void* buffer, std::size_t count) override;

    const std::string& Path() const { return file_.Path(); }

    // Throws InputOutputError when the file's size is no longer the one it had at open, so a
    // file that grew while it was read gets no digest of its first part. When a read has already
    // met the end of the file right at that size, nothing more needs asking: the system call is
    // saved, which counts on folders of many small files.
    void CheckSizeUnchanged() const {
        if (!endSeenAtSize_) {
            file_.CheckSizeUnchanged();
        }
    }

    // Size of the chunks read from the system. Large enough that the system calls cost next to
    // nothing (4 KiB reads take five times the processor time of large ones on a warm page
    // cache, 64 KiB reads a third more), small enough to stay in the core's level-2 cache between
    // the system's copy into it and the engine's copies out of it. 256 KiB measured as fast as
    // 1 MiB or a little faster, with a quarter of the memory.
    static constexpr std::size_t ChunkSize = 256 << 10;

private:
    void Prepare();
    void Refill();

    ReadableFile file_;
    FileReadProgress progress_;
    std::uint64_t size_ = 0;
    std::unique_ptr<std::uint8_t[]> chunk_;
    std::size_t chunkCapacity_ = 0; // at most ChunkSize; less for a small file
    std::uint64_t chunkStart_ = 0;  // file offset of chunk_[0]
    std::size_t chunkLength_ = 0;   // valid bytes in chunk_
    std::uint64_t position_ = 0;
    std::uint64_t bytesRead_ = 0;
    bool endSeenAtSize_ = false; // a read ended short, exactly at size_
};

} // namespace quorvix
