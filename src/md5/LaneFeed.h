// Digesting many streams side by side in the lanes of a lane engine: the worker thread that owns
// the lanes pulls streams from a feed as they become ready and hands each digest back to it.
#pragma once

#include "md5/LaneEngine.h"
#include "md5/Md5.h"
#include "md5/SeekableStream.h"

#include <cstddef>
#include <exception>
#include <optional>

namespace quorvix {

// One stream for the lanes, with the id its feed knows it by. The stream must stay alive, and be
// used by nobody else, until the feed's Done has been called for id.
struct LaneInput {
    std::size_t id;
    SeekableStream* stream;
};

// What the lanes digest: the worker's source of streams and sink of results. Both calls are made
// on the thread that runs DigestStreamsInLanes.
class LaneFeed {
public:
    virtual ~LaneFeed() = default;

    // The next stream to digest. With mayWait false, returns std::nullopt at once when none is
    // ready now; with mayWait true (no lane is busy), blocks until one is ready, or returns
    // std::nullopt when none will ever come again. An exception ends DigestStreamsInLanes.
    virtual std::optional<LaneInput> Next(bool mayWait) = 0;

    // Called exactly once for every stream taken: with its digest and a null failure, or with
    // std::nullopt and the exception that the stream's Size, Position, Seek or Read threw
    // (std::invalid_argument for an input without a stream). An exception ends
    // DigestStreamsInLanes.
    virtual void Done(std::size_t id, std::optional<Md5Digest> digest,
                      std::exception_ptr failure) = 0;
};

// Digests every stream the feed gives until Next(true) gives nothing, with at most
// LaneCount(engine) streams at once. Each stream is digested exactly as DigestOfStream does it:
// from position 0, in 4096-byte reads, up to the size it reports when its digest starts (or until
// a read gives 0 bytes), and put back at the position it had, also when it fails. A stream that
// throws gets its Done with the failure and the other lanes go on. Memory is fixed: a buffer of
// about 32 KiB per lane, whatever the streams' sizes.
// Throws std::invalid_argument, before taking any stream, when the engine is not supported here,
// std::bad_alloc when the lane buffers cannot be had, and whatever the feed's Next or Done throws;
// streams still in the lanes are then put back at their positions and get no Done call.
void DigestStreamsInLanes(LaneFeed& feed, LaneEngine engine = BestLaneEngine());

} // namespace quorvix
