#include "md5/LaneFeed.h"
#include "md5/Md5Transform.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvix {
namespace {

// Each lane reads up to this many pieces ahead: 32 KiB, 1 MiB for thirty-two lanes. That makes
// the refill of a lane (eight virtual calls and copies) rare next to the digesting of what it
// read, and keeps the lanes' memory fixed and small.
constexpr std::size_t PiecesPerLane = 8;
// Room for the pieces behind the part of a block left over from the previous fill.
constexpr std::size_t ReadArea = PiecesPerLane * StreamPieceSize + 64;
// And behind them the padding and the bit count, at most 72 bytes.
constexpr std::size_t LaneBufferSize = ReadArea + 128;

constexpr std::uint32_t InitialState[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};

// One stream in one lane. The bytes waiting to be digested are buffer[begin, end); once the
// stream is read to its end, its padding and bit count follow them, so the lane always digests
// whole blocks and its message is finished when none are left.
struct Lane {
    bool busy = false;
    LaneInput input{};
    std::uint8_t* buffer = nullptr;
    std::size_t begin = 0;
    std::size_t end = 0;
    std::uint64_t size = 0;
    std::uint64_t total = 0;
    std::uint64_t startPosition = 0;
    bool positionTaken = false; // the stream must be put back at startPosition
    bool readToEnd = false;

    std::size_t BlocksReady() const { return (end - begin) / 64; }
};

class LaneScheduler {
public:
    LaneScheduler(LaneFeed& feed, LaneEngine engine)
        : feed_(feed), engine_(engine), laneCount_(LaneCount(engine)),
          storage_(laneCount_ * LaneBufferSize) {
        for (std::size_t i = 0; i < laneCount_; ++i) {
            lanes_[i].buffer = storage_.data() + i * LaneBufferSize;
        }
    }
    LaneScheduler(const LaneScheduler&) = delete;
    LaneScheduler& operator=(const LaneScheduler&) = delete;

    // Only a failure of the feed leaves streams in the lanes; they go back where they were, and
    // a second failure while seeking cannot be reported without losing the feed's.
    ~LaneScheduler() {
        for (std::size_t i = 0; i < laneCount_; ++i) {
            if (lanes_[i].busy && lanes_[i].positionTaken) {
                try {
                    lanes_[i].input.stream->Seek(lanes_[i].startPosition);
                } catch (...) {
                }
            }
        }
    }

    void Run() {
        bool feedOpen = true;
        for (;;) {
            for (std::size_t i = 0; i < laneCount_ && feedOpen; ++i) {
                while (!lanes_[i].busy && feedOpen) {
                    const bool mayWait = busyCount_ == 0;
                    std::optional<LaneInput> input = feed_.Next(mayWait);
                    if (!input) {
                        // Without waiting, nothing is ready yet; after waiting, nothing will be.
                        feedOpen = !mayWait;
                        break;
                    }
                    Start(i, *input);
                }
                if (!lanes_[i].busy) {
                    break; // nothing ready now; the busy lanes go on
                }
            }
            if (busyCount_ == 0) {
                if (!feedOpen) {
                    return;
                }
                continue;
            }
            Advance();
        }
    }

private:
    void Start(std::size_t index, const LaneInput& input) {
        Lane& lane = lanes_[index];
        std::uint8_t* buffer = lane.buffer;
        lane = Lane();
        lane.busy = true;
        lane.input = input;
        lane.buffer = buffer;
        ++busyCount_;
        for (int w = 0; w < 4; ++w) {
            states_.words[w][index] = InitialState[w];
        }
        try {
            if (input.stream == nullptr) {
                throw std::invalid_argument("the lane feed gave no stream for id " +
                                            std::to_string(input.id));
            }
            // The order of DigestOfStream: size, position, then back to the start.
            lane.size = input.stream->Size();
            lane.startPosition = input.stream->Position();
            lane.positionTaken = true;
            input.stream->Seek(0);
            Fill(lane);
        } catch (...) {
            Fail(index, std::current_exception());
        }
    }

    // Reads pieces until the lane's buffer is full or the stream is read to its end. Afterwards
    // the lane has at least one whole block ready: either the stream ended and its padding made
    // the last blocks whole, or more than seven pieces' worth of bytes came in.
    void Fill(Lane& lane) {
        const std::size_t waiting = lane.end - lane.begin;
        std::memmove(lane.buffer, lane.buffer + lane.begin, waiting);
        lane.begin = 0;
        lane.end = waiting;
        while (lane.end + StreamPieceSize <= ReadArea) {
            const std::size_t count =
                lane.input.stream->Read(lane.buffer + lane.end, StreamPieceSize);
            if (count > StreamPieceSize) {
                // Already past the piece, maybe past the buffer: stop before using any of it.
                throw std::length_error("a stream read " + std::to_string(count) +
                                        " bytes when asked for at most " +
                                        std::to_string(StreamPieceSize));
            }
            lane.end += count;
            lane.total += count;
            if (count == 0 || lane.total == lane.size) {
                FinishReading(lane);
                return;
            }
        }
    }

    // Puts the stream back where it was and appends the padding and the bit count. A failing seek
    // back fails the stream, as it fails DigestOfStream.
    void FinishReading(Lane& lane) {
        lane.positionTaken = false;
        lane.input.stream->Seek(lane.startPosition);
        lane.readToEnd = true;

        const std::size_t index = lane.total % 64;
        const std::size_t padLength = index < 56 ? 56 - index : 120 - index;
        lane.buffer[lane.end] = 0x80;
        std::memset(lane.buffer + lane.end + 1, 0, padLength - 1);
        lane.end += padLength;
        // The bit count modulo 2^64, low byte first.
        const std::uint64_t bits = lane.total << 3;
        for (int i = 0; i < 8; ++i) {
            lane.buffer[lane.end++] = static_cast<std::uint8_t>(bits >> (8 * i));
        }
    }

    // Digests the blocks that every busy lane has ready, then finishes or refills the lanes that
    // ran dry.
    void Advance() {
        std::size_t blockCount = std::numeric_limits<std::size_t>::max();
        const std::uint8_t* anyBlocks = nullptr;
        std::size_t onlyLane = 0;
        for (std::size_t i = 0; i < laneCount_; ++i) {
            if (lanes_[i].busy) {
                blockCount = std::min(blockCount, lanes_[i].BlocksReady());
                anyBlocks = lanes_[i].buffer + lanes_[i].begin;
                onlyLane = i;
            }
        }
        if (busyCount_ == 1) {
            // A vector call for one lane costs as much as for all of them; the scalar transform
            // digests one message several times faster.
            blockCount = lanes_[onlyLane].BlocksReady();
            TransformOneLane(onlyLane, blockCount);
        } else {
            std::array<const std::uint8_t*, MaxLanes> blocks{};
            for (std::size_t i = 0; i < laneCount_; ++i) {
                blocks[i] = lanes_[i].busy ? lanes_[i].buffer + lanes_[i].begin : anyBlocks;
            }
            TransformLanes(engine_, states_, blocks.data(), blockCount);
        }

        for (std::size_t i = 0; i < laneCount_; ++i) {
            Lane& lane = lanes_[i];
            if (!lane.busy) {
                continue;
            }
            lane.begin += 64 * blockCount;
            if (lane.BlocksReady() != 0) {
                continue;
            }
            if (lane.readToEnd) {
                Complete(i);
                continue;
            }
            try {
                Fill(lane);
            } catch (...) {
                Fail(i, std::current_exception());
            }
        }
    }

    void TransformOneLane(std::size_t index, std::size_t blockCount) {
        std::uint32_t state[4];
        for (int w = 0; w < 4; ++w) {
            state[w] = states_.words[w][index];
        }
        TransformBlocks(state, lanes_[index].buffer + lanes_[index].begin, blockCount);
        for (int w = 0; w < 4; ++w) {
            states_.words[w][index] = state[w];
        }
    }

    void Complete(std::size_t index) {
        Md5Digest digest;
        for (int w = 0; w < 4; ++w) {
            const std::uint32_t word = states_.words[w][index];
            for (int i = 0; i < 4; ++i) {
                digest.bytes[4 * w + i] = static_cast<std::uint8_t>(word >> (8 * i));
            }
        }
        Release(index);
        feed_.Done(lanes_[index].input.id, digest, nullptr);
    }

    void Fail(std::size_t index, std::exception_ptr failure) {
        Lane& lane = lanes_[index];
        if (lane.positionTaken) {
            // The stream's own failure is the one to report; a second one while seeking back
            // cannot be reported without losing it.
            try {
                lane.input.stream->Seek(lane.startPosition);
            } catch (...) {
            }
        }
        Release(index);
        feed_.Done(lane.input.id, std::nullopt, std::move(failure));
    }

    // The lane is free before the feed hears of its stream, so a feed that throws from Done
    // leaves no stream behind for the destructor to touch.
    void Release(std::size_t index) {
        lanes_[index].busy = false;
        lanes_[index].positionTaken = false;
        --busyCount_;
    }

    LaneFeed& feed_;
    LaneEngine engine_;
    std::size_t laneCount_;
    std::vector<std::uint8_t> storage_;
    std::array<Lane, MaxLanes> lanes_{};
    LaneStates states_{};
    std::size_t busyCount_ = 0;
};

} // namespace

void DigestStreamsInLanes(LaneFeed& feed, LaneEngine engine) {
    if (!LaneEngineSupported(engine)) {
        throw std::invalid_argument("this processor or build cannot run the requested MD5 lane "
                                    "engine; use BestLaneEngine()");
    }
    LaneScheduler scheduler(feed, engine);
    scheduler.Run();
}

} // namespace quorvix
