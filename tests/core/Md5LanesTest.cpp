// The lane engines and the scheduler that keeps their lanes full: every engine against the scalar
// digest, over messages ending in every position of a block and at block edges of the lanes'
// buffers, with more and fewer streams than lanes, streams that fail midway, and feeds that are
// not always ready.
#include "md5/LaneEngine.h"
#include "md5/LaneFeed.h"
#include "md5/Md5.h"
#include "md5/Md5Transform.h"
#include "md5/SeekableStream.h"

#include "Md5TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvix {
namespace {

using test::DigestOf;
using test::RandomBytes;

// A stream over bytes in memory that can misbehave as real files do: give fewer bytes than asked,
// report a size other than its length, or fail.
class MemoryStream : public SeekableStream {
public:
    explicit MemoryStream(std::vector<std::uint8_t> bytes, std::uint64_t position = 0)
        : bytes_(std::move(bytes)), position_(position) {}

    std::size_t maxRead = SIZE_MAX;            // the most bytes one Read gives
    std::optional<std::uint64_t> reportedSize; // what Size says, when not the length
    std::optional<std::uint64_t> failReadFrom; // Read throws once the position reaches this
    bool failSize = false;
    bool failSeek = false;
    bool claimsOneMore = false; // Read says it gave one byte more than it did
    int reads = 0;

    std::uint64_t Size() override {
        if (failSize) {
            throw std::runtime_error("size failed");
        }
        return reportedSize.value_or(bytes_.size());
    }
    std::uint64_t Position() override { return position_; }
    void Seek(std::uint64_t position) override {
        if (failSeek) {
            throw std::runtime_error("seek failed");
        }
        position_ = position;
    }
    std::size_t Read(void* buffer, std::size_t count) override {
        ++reads;
        if (failReadFrom && position_ >= *failReadFrom) {
            throw std::runtime_error("read failed at " + std::to_string(position_));
        }
        const std::size_t left = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
        const std::size_t n = std::min({count, maxRead, left});
        if (n != 0) { // an empty vector's data() may be null, which memcpy must not get
            std::memcpy(buffer, bytes_.data() + position_, n);
        }
        position_ += n;
        return claimsOneMore ? n + 1 : n;
    }

private:
    std::vector<std::uint8_t> bytes_;
    std::uint64_t position_;
};

// Hands out its streams in order and records what the lanes give back and how they asked.
class RecordingFeed : public LaneFeed {
public:
    explicit RecordingFeed(std::vector<SeekableStream*> streams)
        : doneCalls(streams.size()), digests(streams.size()), failures(streams.size()),
          streams_(std::move(streams)) {}

    int notReadyEvery = 0; // every n-th Next without waiting says nothing is ready yet

    std::vector<int> doneCalls;
    std::vector<std::optional<Md5Digest>> digests;
    std::vector<std::exception_ptr> failures;
    std::size_t inFlight = 0;
    std::size_t mostInFlight = 0;
    bool waitedWhileBusy = false;

    std::optional<LaneInput> Next(bool mayWait) override {
        if (mayWait && inFlight != 0) {
            waitedWhileBusy = true;
        }
        if (!mayWait && notReadyEvery != 0 && ++calls_ % notReadyEvery == 0) {
            return std::nullopt;
        }
        if (next_ == streams_.size()) {
            return std::nullopt;
        }
        mostInFlight = std::max(mostInFlight, ++inFlight);
        const std::size_t id = next_++;
        return LaneInput{id, streams_[id]};
    }

    void Done(std::size_t id, std::optional<Md5Digest> digest,
              std::exception_ptr failure) override {
        --inFlight;
        ++doneCalls.at(id);
        digests[id] = digest;
        failures[id] = failure;
    }

private:
    std::vector<SeekableStream*> streams_;
    std::size_t next_ = 0;
    int calls_ = 0;
};

std::string FailureText(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        return e.what();
    }
}

std::string EngineName(const testing::TestParamInfo<LaneEngine>& info) {
    switch (info.param) {
    case LaneEngine::Avx2x8:
        return "Avx2x8";
    case LaneEngine::Avx512x16:
        return "Avx512x16";
    case LaneEngine::Avx512x32:
        return "Avx512x32";
    case LaneEngine::Scalar:
        break;
    }
    return "Scalar";
}

class LaneEngineTest : public testing::TestWithParam<LaneEngine> {
protected:
    void SetUp() override {
        if (!LaneEngineSupported(GetParam())) {
            GTEST_SKIP() << "this processor or build lacks the engine";
        }
    }

    std::size_t Lanes() const { return LaneCount(GetParam()); }

    // Digests the streams in lanes and checks the feed's contract: one Done per stream, never
    // more streams at once than lanes, and no waiting while a lane is busy.
    void RunLanes(RecordingFeed& feed) {
        DigestStreamsInLanes(feed, GetParam());
        for (std::size_t id = 0; id < feed.doneCalls.size(); ++id) {
            EXPECT_EQ(feed.doneCalls[id], 1) << "stream " << id;
        }
        EXPECT_LE(feed.mostInFlight, Lanes());
        EXPECT_FALSE(feed.waitedWhileBusy);
    }

    // Runs the messages through the lanes, each in a stream that starts at a position of its own,
    // and expects each stream's scalar digest and its position back.
    void ExpectScalarDigests(const std::vector<std::vector<std::uint8_t>>& messages,
                             std::size_t maxRead = SIZE_MAX, int notReadyEvery = 0) {
        std::vector<std::unique_ptr<MemoryStream>> streams;
        std::vector<SeekableStream*> pointers;
        for (std::size_t i = 0; i < messages.size(); ++i) {
            streams.push_back(std::make_unique<MemoryStream>(messages[i], i % 5));
            streams.back()->maxRead = maxRead;
            pointers.push_back(streams.back().get());
        }
        RecordingFeed feed(pointers);
        feed.notReadyEvery = notReadyEvery;
        RunLanes(feed);
        for (std::size_t i = 0; i < messages.size(); ++i) {
            ASSERT_TRUE(feed.digests[i].has_value())
                << "stream " << i << ": " << FailureText(feed.failures[i]);
            EXPECT_EQ(DigestToHex(*feed.digests[i]), DigestToHex(DigestOf(messages[i])))
                << "message of " << messages[i].size() << " bytes";
            EXPECT_EQ(streams[i]->Position(), i % 5);
        }
    }
};

TEST_P(LaneEngineTest, TransformAdvancesEveryLaneAsTheScalarTransform) {
    const auto blocks = RandomBytes(MaxLanes * 3 * 64, 7);
    for (const std::size_t blockCount : {1, 3}) {
        LaneStates states{};
        std::uint32_t expected[MaxLanes][4];
        const std::uint8_t* lanes[MaxLanes];
        std::mt19937 generator(static_cast<std::uint32_t>(blockCount));
        for (std::size_t lane = 0; lane < Lanes(); ++lane) {
            for (int w = 0; w < 4; ++w) {
                expected[lane][w] = states.words[w][lane] = generator();
            }
            lanes[lane] = blocks.data() + lane * 3 * 64;
            TransformBlocks(expected[lane], lanes[lane], blockCount);
        }
        TransformLanes(GetParam(), states, lanes, blockCount);
        for (std::size_t lane = 0; lane < Lanes(); ++lane) {
            for (int w = 0; w < 4; ++w) {
                EXPECT_EQ(states.words[w][lane], expected[lane][w])
                    << "lane " << lane << ", word " << w << ", " << blockCount << " blocks";
            }
        }
    }
}

TEST_P(LaneEngineTest, Rfc1321TestSuite) {
    const auto& cases = test::Rfc1321Suite;
    std::vector<std::unique_ptr<MemoryStream>> streams;
    std::vector<SeekableStream*> pointers;
    for (const auto& c : cases) {
        const std::string text = c.message;
        streams.push_back(
            std::make_unique<MemoryStream>(std::vector<std::uint8_t>(text.begin(), text.end())));
        pointers.push_back(streams.back().get());
    }
    RecordingFeed feed(pointers);
    RunLanes(feed);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_TRUE(feed.digests[i].has_value()) << cases[i].message;
        EXPECT_EQ(DigestToHex(*feed.digests[i]), cases[i].digest) << '"' << cases[i].message << '"';
    }
}

// Every length from 0 to 300 bytes: messages end in every position of a block, with one or two
// padding blocks, in lanes that finish at different times and take the next stream.
TEST_P(LaneEngineTest, EveryShortLengthGivesTheScalarDigest) {
    std::vector<std::vector<std::uint8_t>> messages;
    for (std::size_t length = 0; length <= 300; ++length) {
        messages.push_back(RandomBytes(length, static_cast<std::uint32_t>(length)));
    }
    ExpectScalarDigests(messages);
}

// Large messages beside small ones, with lengths at and around the edges of the lanes' 32 KiB
// reading buffers and of 4096-byte reads.
TEST_P(LaneEngineTest, LargeMessagesBesideSmallOnes) {
    std::vector<std::vector<std::uint8_t>> messages;
    const std::size_t lengths[] = {
        (1 << 20) + 7, 5,      32768,     32768 + 63, 32768 + 64, 4096,          4095, 65536,
        65536 + 55,    200000, 56,        64,         128,        (1 << 18) + 1, 1,    100000,
        77777,         0,      8192 + 120};
    std::uint32_t seed = 100;
    for (const std::size_t length : lengths) {
        messages.push_back(RandomBytes(length, seed++));
    }
    ExpectScalarDigests(messages);
}

TEST_P(LaneEngineTest, FewerStreamsThanLanes) {
    for (const std::size_t count : {1, 2, 3}) {
        std::vector<std::vector<std::uint8_t>> messages;
        for (std::size_t i = 0; i < count; ++i) {
            messages.push_back(RandomBytes(70000 + 1000 * i, static_cast<std::uint32_t>(i)));
        }
        ExpectScalarDigests(messages);
    }
}

// Reads that give fewer bytes than asked leave the lanes' buffers with parts of blocks.
TEST_P(LaneEngineTest, ShortReadsGiveTheScalarDigest) {
    std::vector<std::vector<std::uint8_t>> messages;
    for (std::size_t i = 0; i < 20; ++i) {
        messages.push_back(RandomBytes(1000 * i + 13 * i, static_cast<std::uint32_t>(i)));
    }
    for (const std::size_t maxRead : {1, 63, 1000, 4095}) {
        ExpectScalarDigests(messages, maxRead);
    }
}

// The feed has nothing ready at times: the lanes go on with what they have and ask again later.
TEST_P(LaneEngineTest, FeedThatIsNotAlwaysReady) {
    std::vector<std::vector<std::uint8_t>> messages;
    for (std::size_t i = 0; i < 40; ++i) {
        messages.push_back(RandomBytes(500 * i, static_cast<std::uint32_t>(i)));
    }
    for (const int notReadyEvery : {1, 2, 3}) {
        ExpectScalarDigests(messages, SIZE_MAX, notReadyEvery);
    }
}

// A stream whose size is not its length is digested as DigestOfStream digests it: up to the
// reported size when a read ends there, on to the end when reads pass it.
TEST_P(LaneEngineTest, ReportedSizeIsHonouredAsInDigestOfStream) {
    const auto bytes = RandomBytes(50000, 3);
    for (const std::uint64_t reported : {0ull, 4096ull, 8192ull, 5000ull, 49999ull, 60000ull}) {
        std::vector<std::unique_ptr<MemoryStream>> streams;
        std::vector<SeekableStream*> pointers;
        for (std::size_t i = 0; i < Lanes() + 1; ++i) {
            streams.push_back(std::make_unique<MemoryStream>(bytes));
            streams.back()->reportedSize = reported;
            pointers.push_back(streams.back().get());
        }
        RecordingFeed feed(pointers);
        RunLanes(feed);
        MemoryStream reference(bytes);
        reference.reportedSize = reported;
        const Md5Digest expected = DigestOfStream(reference);
        for (std::size_t i = 0; i < pointers.size(); ++i) {
            ASSERT_TRUE(feed.digests[i].has_value());
            EXPECT_EQ(*feed.digests[i], expected) << "reported size " << reported;
            EXPECT_EQ(streams[i]->reads, reference.reads) << "reported size " << reported;
        }
    }
}

// A stream that fails gets its failure, is put back where it was, and the streams beside it in
// the other lanes are digested all the same.
TEST_P(LaneEngineTest, FailingStreamsLeaveTheOtherLanesUnharmed) {
    enum class Fault { ReadMidway, ReadAtOnce, Size, Seek, NoStream, ReadTooLong };
    const struct {
        Fault fault;
        const char* message;
    } faults[] = {{Fault::ReadMidway, "read failed at 40960"},
                  {Fault::ReadAtOnce, "read failed at 0"},
                  {Fault::Size, "size failed"},
                  {Fault::Seek, "seek failed"},
                  {Fault::NoStream, "the lane feed gave no stream for id 3"},
                  {Fault::ReadTooLong, "a stream read 4097 bytes when asked for at most 4096"}};
    for (const auto& fault : faults) {
        std::vector<std::vector<std::uint8_t>> messages;
        std::vector<std::unique_ptr<MemoryStream>> streams;
        std::vector<SeekableStream*> pointers;
        const std::size_t failing = 3;
        for (std::size_t i = 0; i < 2 * Lanes() + 2; ++i) {
            messages.push_back(RandomBytes(30000 + 5000 * i, static_cast<std::uint32_t>(i)));
            streams.push_back(std::make_unique<MemoryStream>(messages.back(), 11));
            pointers.push_back(streams.back().get());
        }
        MemoryStream& bad = *streams[failing];
        switch (fault.fault) {
        case Fault::ReadMidway:
            bad.failReadFrom = 40960;
            break;
        case Fault::ReadAtOnce:
            bad.failReadFrom = 0;
            break;
        case Fault::Size:
            bad.failSize = true;
            break;
        case Fault::Seek:
            bad.failSeek = true;
            break;
        case Fault::NoStream:
            pointers[failing] = nullptr;
            break;
        case Fault::ReadTooLong:
            bad.claimsOneMore = true;
            break;
        }
        RecordingFeed feed(pointers);
        RunLanes(feed);
        for (std::size_t i = 0; i < pointers.size(); ++i) {
            if (i == failing) {
                EXPECT_FALSE(feed.digests[i].has_value());
                ASSERT_TRUE(feed.failures[i]);
                EXPECT_EQ(FailureText(feed.failures[i]), fault.message);
                EXPECT_EQ(streams[i]->Position(), 11u);
                continue;
            }
            EXPECT_FALSE(feed.failures[i]) << "stream " << i;
            ASSERT_TRUE(feed.digests[i].has_value()) << "stream " << i;
            EXPECT_EQ(*feed.digests[i], DigestOf(messages[i])) << "stream " << i;
            EXPECT_EQ(streams[i]->Position(), 11u);
        }
    }
}

// A failure of the feed itself ends the run; the streams still in lanes go back where they were.
TEST_P(LaneEngineTest, FeedFailurePassesOnAndPutsStreamsBack) {
    class ThrowingFeed : public RecordingFeed {
    public:
        using RecordingFeed::RecordingFeed;
        void Done(std::size_t, std::optional<Md5Digest>, std::exception_ptr) override {
            throw std::runtime_error("sink full");
        }
    };
    std::vector<std::unique_ptr<MemoryStream>> streams;
    std::vector<SeekableStream*> pointers;
    for (std::size_t i = 0; i < Lanes() + 3; ++i) {
        streams.push_back(std::make_unique<MemoryStream>(RandomBytes(1000 + 70000 * i, 9), 17));
        pointers.push_back(streams.back().get());
    }
    ThrowingFeed feed(pointers);
    EXPECT_THROW(DigestStreamsInLanes(feed, GetParam()), std::runtime_error);
    for (const auto& stream : streams) {
        EXPECT_EQ(stream->Position(), 17u);
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, LaneEngineTest,
                         testing::Values(LaneEngine::Scalar, LaneEngine::Avx2x8,
                                         LaneEngine::Avx512x16, LaneEngine::Avx512x32),
                         EngineName);

TEST(LaneEngines, BestEngineIsSupportedAndLaneCountsAreFixed) {
    EXPECT_TRUE(LaneEngineSupported(BestLaneEngine()));
    EXPECT_TRUE(LaneEngineSupported(LaneEngine::Scalar));
    EXPECT_EQ(LaneCount(LaneEngine::Scalar), 1u);
    EXPECT_EQ(LaneCount(LaneEngine::Avx2x8), 8u);
    EXPECT_EQ(LaneCount(LaneEngine::Avx512x16), 16u);
    EXPECT_EQ(LaneCount(LaneEngine::Avx512x32), 32u);
}

TEST(LaneEngines, UnsupportedEngineIsRefusedBeforeAnyStreamIsTaken) {
    bool anyUnsupported = false;
    for (const LaneEngine engine :
         {LaneEngine::Avx2x8, LaneEngine::Avx512x16, LaneEngine::Avx512x32}) {
        if (LaneEngineSupported(engine)) {
            continue;
        }
        anyUnsupported = true;
        MemoryStream stream(RandomBytes(100, 1));
        RecordingFeed feed({&stream});
        EXPECT_THROW(DigestStreamsInLanes(feed, engine), std::invalid_argument);
        EXPECT_EQ(feed.mostInFlight, 0u);
        LaneStates states{};
        const std::uint8_t* blocks[MaxLanes] = {};
        EXPECT_THROW(TransformLanes(engine, states, blocks, 1), std::invalid_argument);
    }
    if (!anyUnsupported) {
        GTEST_SKIP() << "this processor and build support every engine";
    }
}

} // namespace
} // namespace quorvix
