// The small stream interface the digest engine reads from, and the stream digest itself.
#pragma once

#include "md5/Md5.h"

#include <cstddef>
#include <cstdint>

namespace quorvix {

// A seekable byte source. Any operation may fail by throwing; the engine throws nothing of its own.
class SeekableStream {
public:
    virtual ~SeekableStream() = default;

    // Size of the whole stream in bytes.
    virtual std::uint64_t Size() = 0;
    // Current position in bytes from the start.
    virtual std::uint64_t Position() = 0;
    // Moves to an absolute position counted from the start.
    virtual void Seek(std::uint64_t position) = 0;
    // Reads up to count bytes into buffer and returns how many were read; 0 means nothing more
    // can be read.
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
};

// Size of the pieces in which DigestOfStream reads.
inline constexpr std::size_t StreamPieceSize = 4096;

// Digests the whole stream from its first byte, in 4096-byte pieces, up to the size it reports
// when the digest starts. The stream's position afterwards is the one it had before, also when a
// seek or read throws; the failure then passes on and no digest is produced.
Md5Digest DigestOfStream(SeekableStream& stream);

} // namespace quorvix
