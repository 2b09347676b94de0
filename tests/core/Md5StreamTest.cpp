// The digest engine beyond the standard's test suite: padding at the block edges, messages fed in
// pieces, the 64-bit bit count, streams and large files, cross-checked against the system's
// md5sum where an independent answer is needed.
#include "checksum/FileDigest.h"
#include "md5/Md5.h"
#include "md5/SeekableStream.h"

#include "Md5TestData.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvix {
namespace {

using test::DigestOf;
using test::RandomBytes;

std::string LowerHex(const Md5Digest& digest) {
    return LowerCaseAscii(DigestToHex(digest));
}

// A folder of its own, removed with everything in it: under the system's temporary folder, or
// under parent when one is given.
class TemporaryFolder {
public:
    explicit TemporaryFolder(
        std::filesystem::path parent = std::filesystem::temp_directory_path()) {
        // create_directory makes a new folder or reports that the name is taken, like mkdtemp,
        // which Windows lacks.
        std::random_device random;
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const auto candidate = parent / ("md5-test." + std::to_string(random()));
            if (std::filesystem::create_directory(candidate)) {
                path_ = candidate;
            }
        }
        if (path_.empty()) {
            throw std::runtime_error("cannot make a temporary folder under " + parent.string());
        }
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

// The system's md5sum of each file, in order; empty when md5sum cannot be run.
std::vector<std::string> SystemMd5Sums(const std::vector<std::string>& paths) {
    std::string command = "md5sum";
    for (const auto& path : paths) {
        command += " '" + path + "'";
    }
    command += " 2>/dev/null";
    std::vector<std::string> sums;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return sums;
    }
    char line[4096];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        sums.emplace_back(line, std::min<std::size_t>(32, std::strlen(line)));
    }
    if (::pclose(pipe) != 0) {
        sums.clear();
    }
    return sums;
}

// An in-memory stream that counts its reads and can be told to fail one of them.
class MemoryStream final : public SeekableStream {
public:
    explicit MemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    std::uint64_t Size() override { return bytes_.size(); }
    std::uint64_t Position() override { return position_; }
    void Seek(std::uint64_t position) override { position_ = position; }
    std::size_t Read(void* buffer, std::size_t count) override {
        ++reads;
        if (reads == failingRead) {
            position_ += count / 2; // a failing read may well have moved the position
            throw std::runtime_error("read failed");
        }
        const std::size_t available =
            position_ < bytes_.size() ? bytes_.size() - static_cast<std::size_t>(position_) : 0;
        const std::size_t taken = std::min(count, available);
        if (taken != 0) { // an empty vector's data() may be null, which memcpy must not get
            std::memcpy(buffer, bytes_.data() + position_, taken);
        }
        position_ += taken;
        largestRequest = std::max(largestRequest, count);
        return taken;
    }

    int reads = 0;
    int failingRead = 0; // 1-based; 0 for none
    std::size_t largestRequest = 0;

private:
    std::vector<std::uint8_t> bytes_;
    std::uint64_t position_ = 0;
};

TEST(Md5Padding, PadLengthsAtTheBlockEdges) {
    // Message length, and how many pad bytes must bring it to 56 modulo 64. Padding by hand with
    // exactly that many bytes and the bit count must leave the same state as DigestFinal.
    const struct {
        std::uint32_t length;
        std::uint32_t padLength;
    } cases[] = {{55, 1}, {56, 64}, {63, 57}, {64, 56}, {65, 55}};
    for (const auto& c : cases) {
        const auto message = RandomBytes(c.length, c.length);
        std::vector<std::uint8_t> padded = message;
        padded.push_back(0x80);
        padded.resize(c.length + c.padLength, 0);
        const std::uint64_t bits = std::uint64_t{c.length} * 8;
        for (int i = 0; i < 8; ++i) {
            padded.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
        }
        ASSERT_EQ(padded.size() % 64, 0u) << c.length;

        Md5Context context;
        DigestInit(context);
        DigestUpdate(context, padded.data(), static_cast<std::uint32_t>(padded.size()));
        Md5Digest byHand;
        for (int word = 0; word < 4; ++word) {
            for (int i = 0; i < 4; ++i) {
                byHand.bytes[4 * word + i] =
                    static_cast<std::uint8_t>(context.State[word] >> (8 * i));
            }
        }
        EXPECT_EQ(DigestOf(message), byHand) << c.length << " bytes";
    }
}

TEST(Md5Update, PiecesGiveTheDigestOfTheWhole) {
    const auto message = RandomBytes(5000, 7);
    const Md5Digest whole = DigestOf(message);
    for (const std::size_t pieceSize : {1, 63, 64, 65, 4095}) {
        Md5Context context;
        DigestInit(context);
        DigestUpdate(context, nullptr, 0);
        for (std::size_t offset = 0; offset < message.size(); offset += pieceSize) {
            const std::size_t length = std::min(pieceSize, message.size() - offset);
            DigestUpdate(context, message.data() + offset, static_cast<std::uint32_t>(length));
        }
        EXPECT_EQ(DigestFinal(context), whole) << "pieces of " << pieceSize;
    }
}

TEST(Md5Update, RandomBuffersAgreeWithTheSystemMd5sum) {
    TemporaryFolder folder;
    const std::size_t lengths[] = {0,   1,   3,   55,  56,   57,   63,   64,   65,         119,
                                   120, 127, 128, 129, 1000, 4095, 4096, 4097, 65536 + 17, 1000003};
    std::vector<std::string> paths;
    std::vector<std::string> ours;
    for (const std::size_t length : lengths) {
        const auto bytes = RandomBytes(length, static_cast<std::uint32_t>(length) + 1);
        paths.push_back(folder.File("random-" + std::to_string(length)));
        WriteFile(paths.back(), bytes);
        ours.push_back(LowerHex(DigestOf(bytes)));
    }
    const auto theirs = SystemMd5Sums(paths);
    if (theirs.empty()) {
        GTEST_SKIP() << "md5sum is not available";
    }
    ASSERT_EQ(theirs.size(), ours.size());
    for (std::size_t i = 0; i < ours.size(); ++i) {
        EXPECT_EQ(ours[i], theirs[i]) << lengths[i] << " bytes";
    }
}

// 2^29 bytes are 2^32 bits: the message length no longer fits the low word of the bit count.
constexpr std::uint32_t HalfGiB = 1u << 29;
constexpr char DigestOfHalfGiBAnd100Zeros[] = "2fd298086ae19f076b408e275af7598c"; // by md5sum

TEST(Md5BitCount, CarryIntoTheHighWordWhenFedInPieces) {
    const std::vector<std::uint8_t> zeros(1 << 16, 0);
    Md5Context context;
    DigestInit(context);
    for (std::uint32_t fed = 0; fed < HalfGiB; fed += zeros.size()) {
        DigestUpdate(context, zeros.data(), static_cast<std::uint32_t>(zeros.size()));
    }
    EXPECT_EQ(context.BitCount[0], 0u);
    EXPECT_EQ(context.BitCount[1], 1u);
    DigestUpdate(context, zeros.data(), 100);
    EXPECT_EQ(context.BitCount[0], 800u);
    EXPECT_EQ(context.BitCount[1], 1u);
    EXPECT_EQ(LowerHex(DigestFinal(context)), DigestOfHalfGiBAnd100Zeros);
}

TEST(Md5Final, LeavesTheContextAllZeros) {
    const auto message = RandomBytes(100, 3);
    Md5Context context;
    DigestInit(context);
    DigestUpdate(context, message.data(), static_cast<std::uint32_t>(message.size()));
    Md5Context zero;
    std::memset(&zero, 0, sizeof zero);
    ASSERT_NE(std::memcmp(&context, &zero, sizeof context), 0);
    DigestFinal(context);
    EXPECT_EQ(std::memcmp(&context, &zero, sizeof context), 0);
}

TEST(Md5Hex, EveryByteAsTwoUpperCaseDigits) {
    Md5Digest digest;
    const std::uint8_t bytes[16] = {10,   0,    0x0F, 0x10, 0xFF, 0xA5, 0x5A, 0x01,
                                    0x9B, 0xC3, 0x3C, 0x7E, 0xE7, 0x80, 0x08, 0xDE};
    std::copy(std::begin(bytes), std::end(bytes), digest.bytes.begin());
    EXPECT_EQ(DigestToHex(digest), "0A000F10FFA55A019BC33C7EE78008DE");
}

TEST(Md5Stream, DigestsFromTheFirstByteAndPutsThePositionBack) {
    const auto bytes = RandomBytes(10000, 11);
    MemoryStream stream(bytes);
    stream.Seek(6000);
    EXPECT_EQ(DigestOfStream(stream), DigestOf(bytes));
    EXPECT_EQ(stream.Position(), 6000u);
    EXPECT_EQ(stream.largestRequest, StreamPieceSize);
}

TEST(Md5Stream, AFailingReadPassesOnWithThePositionPutBack) {
    MemoryStream stream(RandomBytes(20000, 13));
    stream.Seek(1234);
    stream.failingRead = 3;
    EXPECT_THROW(DigestOfStream(stream), std::runtime_error);
    EXPECT_EQ(stream.reads, 3);
    EXPECT_EQ(stream.Position(), 1234u);
}

TEST(Md5Stream, ReadsNoMoreThanTheSizeNeeds) {
    // A size that is a whole number of pieces ends with the read that reaches it; an empty
    // stream still makes its one read, which gives nothing.
    const struct {
        std::size_t size;
        int reads;
    } cases[] = {{0, 1}, {1, 1}, {4096, 1}, {8192, 2}, {8193, 3}};
    for (const auto& c : cases) {
        const auto bytes = RandomBytes(c.size, 17);
        MemoryStream stream(bytes);
        EXPECT_EQ(DigestOfStream(stream), DigestOf(bytes)) << c.size;
        EXPECT_EQ(stream.reads, c.reads) << c.size;
    }
}

TEST(Md5File, EmptyFileGivesTheEmptyMessageDigest) {
    TemporaryFolder folder;
    const std::string path = folder.File("empty");
    WriteFile(path, {});
    EXPECT_EQ(FileDigestText(path), "D41D8CD98F00B204E9800998ECF8427E");
}

#ifndef _WIN32 // POSIX calls make the sparse file; WindowsPlatformTest has its own
TEST(Md5File, SparseFileOverFourGibibytesIsDigestedWhole) {
    // Four gibibytes of zeros (a hole, taking no disk space) and then twelve bytes of text, so
    // the digest shows that the file was read to its very end, past the 32-bit limit. A hole in
    // shared memory reads as the one zero page, twice as fast as from a disk's file system, which
    // fills the page cache with zeroed pages first.
    TemporaryFolder folder(::access("/dev/shm", W_OK) == 0
                               ? std::filesystem::path("/dev/shm")
                               : std::filesystem::temp_directory_path());
    const std::string path = folder.File("sparse");
    const std::uint64_t holeSize = std::uint64_t{1} << 32;
    {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        const char tail[] = "end of file!";
        const ssize_t written = ::pwrite(fd, tail, sizeof tail - 1, static_cast<off_t>(holeSize));
        ::close(fd);
        ASSERT_EQ(written, static_cast<ssize_t>(sizeof tail - 1));
    }
    // { head -c 4294967296 /dev/zero; printf 'end of file!'; } | md5sum
    EXPECT_EQ(LowerHex(DigestOfFile(path)), "12fb900b8dd23ff326a2fb1546d7e4fd");
}
#endif

} // namespace
} // namespace quorvix
