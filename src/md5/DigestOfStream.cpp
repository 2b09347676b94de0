#include "md5/SeekableStream.h"

namespace quorvix {
namespace {

// Puts the stream back where it was when the digest started, however the digest ends.
class PositionRestorer {
public:
    PositionRestorer(SeekableStream& stream, std::uint64_t position)
        : stream_(stream), position_(position) {}
    PositionRestorer(const PositionRestorer&) = delete;
    PositionRestorer& operator=(const PositionRestorer&) = delete;

    // Restores on the normal path, where a failing seek must reach the caller.
    void Restore() {
        restored_ = true;
        stream_.Seek(position_);
    }

    ~PositionRestorer() {
        if (restored_) {
            return;
        }
        // On the failure path the original failure is the one the caller must see; a second
        // failure while seeking back cannot be reported without losing it.
        try {
            stream_.Seek(position_);
        } catch (...) {
        }
    }

private:
    SeekableStream& stream_;
    std::uint64_t position_;
    bool restored_ = false;
};

} // namespace

Md5Digest DigestOfStream(SeekableStream& stream) {
    Md5Context context;
    DigestInit(context);

    const std::uint64_t size = stream.Size();
    PositionRestorer restorer(stream, stream.Position());
    stream.Seek(0);

    std::uint8_t piece[StreamPieceSize];
    std::uint64_t total = 0;
    for (;;) {
        const std::size_t count = stream.Read(piece, sizeof piece);
        total += count;
        DigestUpdate(context, piece, static_cast<std::uint32_t>(count));
        if (count == 0 || total == size) {
            break;
        }
    }
    restorer.Restore();
    return DigestFinal(context);
}

} // namespace quorvix
