// The transform alone: DigestOfBuffer over a 1 MiB buffer that sits in cache, next to OpenSSL's
// one-shot MD5 over the same buffer in the same binary, so the two see the same machine state.
// Then the reading path: the file stream alone, and a whole file digest, over a 128 MiB file in
// the page cache.
//
// Besides bytes per second, each digest benchmark reports cycles per byte. The virtual machines
// this runs on usually hide the cycle counters, so the core clock is measured here instead: a
// chain of dependent additions runs at one addition per cycle on every x86-64 core, and its rate
// is the clock the core runs at while it is busy (turbo included, unlike the nominal clock in
// /proc/cpuinfo). Pass --clock_ghz=X to reckon cycles at a clock of your own instead; the
// cycles are then taken from the timed loop.
#include "checksum/FileDigest.h"
#include "md5/LaneEngine.h"
#include "md5/LaneFeed.h"
#include "md5/Md5.h"
#include "platform/FileStream.h"

#include <benchmark/benchmark.h>
#include <openssl/md5.h>

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr std::size_t BufferSize = 1 << 20;

double GivenClockHz = 0; // a clock given on the command line, used instead of measuring

const std::vector<std::uint8_t>& TestBuffer() {
    static const std::vector<std::uint8_t> buffer = [] {
        std::vector<std::uint8_t> bytes(BufferSize);
        std::uint32_t seed = 0x12345678;
        for (auto& byte : bytes) {
            seed = seed * 1664525u + 1013904223u; // any bytes serve; these are reproducible
            byte = static_cast<std::uint8_t>(seed >> 24);
        }
        return bytes;
    }();
    return buffer;
}

// Processor time of the calling thread in seconds. Time spent while another process has the core
// does not count, which matters on a machine whose cores are shared.
double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// One link of the chain below. The barrier keeps the value in a register and stops the compiler
// from folding consecutive additions.
inline void AddStep(std::uint64_t& value, std::uint64_t step) {
    value += step;
    benchmark::DoNotOptimize(value);
}

// Runs a chain of dependent additions, one per cycle on every x86-64 core. The step is a
// register operand, so no core can fold the additions either. Eight links are written out per
// loop turn: with a loop branch after every addition, taken branches can become the limit (seen
// on a virtual machine whose core was shared), and the chain would no longer count cycles.
void RunAdditionChain(std::uint64_t additions) {
    std::uint64_t value = 0;
    std::uint64_t step = 1;
    benchmark::DoNotOptimize(step);
    for (std::uint64_t i = 0; i < additions / 8; ++i) {
        AddStep(value, step);
        AddStep(value, step);
        AddStep(value, step);
        AddStep(value, step);
        AddStep(value, step);
        AddStep(value, step);
        AddStep(value, step);
        AddStep(value, step);
    }
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct CycleFigures {
    double cyclesPerByte;
    double clockHz;
};

// Cycles per byte of one run of work over bytes, reckoned against the addition chain. The clock
// of a virtual machine's core moves within milliseconds (it drops while the core idles and
// climbs again under load), so each run of work is paired with a chain right after it, and the
// figure is the median of the pairs' ratios.
template <typename Work> CycleFigures MeasureCycles(Work& work, std::size_t bytes, int pairs) {
    constexpr std::uint64_t Additions = 4'000'000; // about as long as a digest of 1 MiB
    std::vector<double> cyclesPerByte;
    std::vector<double> clockHz;
    work(); // the core at its working clock before the first pair
    for (int pair = 0; pair < pairs; ++pair) {
        const double start = ThreadCpuSeconds();
        work();
        const double worked = ThreadCpuSeconds();
        RunAdditionChain(Additions);
        const double added = ThreadCpuSeconds();
        const double hz = static_cast<double>(Additions) / (added - worked);
        clockHz.push_back(hz);
        cyclesPerByte.push_back((worked - start) * hz / static_cast<double>(bytes));
    }
    return {Median(cyclesPerByte), Median(clockHz)};
}

// Runs work once per iteration and reports bytes per second and, measured outside the timed
// loop in the given number of pairs, cycles per byte and the clock they were reckoned at.
template <typename Work>
void RunMeasured(benchmark::State& state, std::size_t bytes, int pairs, Work work) {
    const double start = ThreadCpuSeconds();
    for (auto _ : state) {
        work();
    }
    const double elapsed = ThreadCpuSeconds() - start;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes));
    if (GivenClockHz > 0) {
        state.counters["GHz"] = GivenClockHz / 1e9;
        state.counters["cycles/B"] =
            benchmark::Counter(elapsed * GivenClockHz / static_cast<double>(bytes),
                               benchmark::Counter::kAvgIterations);
        state.counters["B/cycle"] =
            benchmark::Counter(static_cast<double>(bytes) / (elapsed * GivenClockHz),
                               benchmark::Counter::kIsIterationInvariant);
    } else {
        const CycleFigures figures = MeasureCycles(work, bytes, pairs);
        state.counters["GHz"] = figures.clockHz / 1e9;
        state.counters["cycles/B"] = figures.cyclesPerByte;
        state.counters["B/cycle"] = 1 / figures.cyclesPerByte;
    }
}

void BM_DigestOfBuffer(benchmark::State& state) {
    const auto& buffer = TestBuffer();
    RunMeasured(state, buffer.size(), 15, [&buffer] {
        quorvix::Md5Digest digest =
            quorvix::DigestOfBuffer(buffer.data(), static_cast<std::uint32_t>(buffer.size()));
        benchmark::DoNotOptimize(digest);
    });
}
BENCHMARK(BM_DigestOfBuffer);

void BM_OpenSslMd5(benchmark::State& state) {
    const auto& buffer = TestBuffer();
    RunMeasured(state, buffer.size(), 15, [&buffer] {
        unsigned char digest[MD5_DIGEST_LENGTH];
        // OpenSSL 3 marks the one-shot MD5() deprecated; it is the lightest way to reach its
        // transform, which is all that is compared here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        MD5(buffer.data(), buffer.size(), digest);
#pragma GCC diagnostic pop
        benchmark::DoNotOptimize(digest);
    });
}
BENCHMARK(BM_OpenSslMd5);

// The lane engines. Benchmark argument: the number of lanes, 1 (the scalar transform), 8 (AVX2),
// 16 or 32 (AVX-512); an engine this processor lacks is skipped. B/cycle is the bytes that one
// core digests per cycle over all its lanes together.
quorvix::LaneEngine EngineWithLanes(std::int64_t lanes) {
    switch (lanes) {
    case 8:
        return quorvix::LaneEngine::Avx2x8;
    case 16:
        return quorvix::LaneEngine::Avx512x16;
    case 32:
        return quorvix::LaneEngine::Avx512x32;
    default:
        return quorvix::LaneEngine::Scalar;
    }
}

// The transform alone, every lane over its own 32 KiB of the 1 MiB buffer, which stays in cache.
void BM_LaneTransform(benchmark::State& state) {
    const quorvix::LaneEngine engine = EngineWithLanes(state.range(0));
    if (!quorvix::LaneEngineSupported(engine)) {
        state.SkipWithError("this processor lacks the engine");
        return;
    }
    const std::size_t lanes = quorvix::LaneCount(engine);
    constexpr std::size_t BytesPerLane = 32 * 1024;
    const auto& buffer = TestBuffer();
    const std::uint8_t* blocks[quorvix::MaxLanes];
    for (std::size_t lane = 0; lane < lanes; ++lane) {
        blocks[lane] = buffer.data() + lane * BytesPerLane;
    }
    quorvix::LaneStates states{};
    RunMeasured(state, lanes * BytesPerLane, 15, [&] {
        quorvix::TransformLanes(engine, states, blocks, BytesPerLane / 64);
        benchmark::DoNotOptimize(states);
    });
}
BENCHMARK(BM_LaneTransform)->Arg(1)->Arg(8)->Arg(16)->Arg(32);

// A message held in memory, read as a stream.
class MemoryStream : public quorvix::SeekableStream {
public:
    explicit MemoryStream(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    std::uint64_t Size() override { return bytes_.size(); }
    std::uint64_t Position() override { return position_; }
    void Seek(std::uint64_t position) override { position_ = position; }
    std::size_t Read(void* buffer, std::size_t count) override {
        const std::size_t n = std::min<std::size_t>(count, bytes_.size() - position_);
        std::memcpy(buffer, bytes_.data() + position_, n);
        position_ += n;
        return n;
    }

private:
    const std::vector<std::uint8_t>& bytes_;
    std::uint64_t position_ = 0;
};

// Gives every stream once, then nothing.
class StreamListFeed : public quorvix::LaneFeed {
public:
    explicit StreamListFeed(std::vector<MemoryStream>& streams) : streams_(streams) {}
    std::optional<quorvix::LaneInput> Next(bool) override {
        if (next_ == streams_.size()) {
            return std::nullopt;
        }
        ++next_;
        return quorvix::LaneInput{next_ - 1, &streams_[next_ - 1]};
    }
    void Done(std::size_t, std::optional<quorvix::Md5Digest> digest,
              std::exception_ptr failure) override {
        if (!digest || failure) {
            throw std::runtime_error("a lane benchmark stream failed");
        }
        benchmark::DoNotOptimize(digest);
    }

private:
    std::vector<MemoryStream>& streams_;
    std::size_t next_ = 0;
};

// The whole lane path as a worker runs it: one 8 MiB message per lane, each a different one held
// in memory, read in 4096-byte pieces into the lanes' buffers and digested side by side.
void BM_DigestStreamsInLanes(benchmark::State& state) {
    const quorvix::LaneEngine engine = EngineWithLanes(state.range(0));
    if (!quorvix::LaneEngineSupported(engine)) {
        state.SkipWithError("this processor lacks the engine");
        return;
    }
    constexpr std::size_t MessageSize = 8 * BufferSize;
    const std::size_t lanes = quorvix::LaneCount(engine);
    static std::vector<std::vector<std::uint8_t>> messages;
    while (messages.size() < lanes) {
        std::vector<std::uint8_t> message(MessageSize);
        std::uint32_t seed = static_cast<std::uint32_t>(messages.size()) * 7919u + 1u;
        for (auto& byte : message) {
            seed = seed * 1664525u + 1013904223u;
            byte = static_cast<std::uint8_t>(seed >> 24);
        }
        messages.push_back(std::move(message));
    }
    RunMeasured(state, lanes * MessageSize, 5, [&] {
        std::vector<MemoryStream> streams(messages.begin(), messages.begin() + lanes);
        StreamListFeed feed(streams);
        quorvix::DigestStreamsInLanes(feed, engine);
    });
}
BENCHMARK(BM_DigestStreamsInLanes)->Arg(1)->Arg(8)->Arg(16)->Arg(32);

// A 128 MiB file of the test bytes under $TMPDIR (or /tmp), removed when the benchmarks end. It
// is written just before use, so it sits in the page cache; it is larger than the processor's
// caches, as the files that users digest mostly are.
class TestFile {
public:
    static constexpr std::size_t Size = 128 * BufferSize;

    TestFile() {
        const char* folder = std::getenv("TMPDIR");
        path_ = std::string(folder != nullptr && *folder != 0 ? folder : "/tmp") +
                "/quorvix-bench.XXXXXX";
        const int fd = ::mkstemp(path_.data());
        if (fd < 0) {
            throw std::runtime_error("cannot make a test file " + path_);
        }
        const auto& buffer = TestBuffer();
        bool written = true;
        for (std::size_t offset = 0; offset < Size && written; offset += buffer.size()) {
            written =
                ::write(fd, buffer.data(), buffer.size()) == static_cast<ssize_t>(buffer.size());
        }
        ::close(fd);
        if (!written) {
            ::unlink(path_.c_str());
            throw std::runtime_error("cannot write the test file " + path_);
        }
    }
    TestFile(const TestFile&) = delete;
    TestFile& operator=(const TestFile&) = delete;
    ~TestFile() { ::unlink(path_.c_str()); }

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

const TestFile& SharedTestFile() {
    static const TestFile file;
    return file;
}

// The reading path alone: the file stream handing out the engine's 4096-byte pieces.
void BM_FileStreamRead(benchmark::State& state) {
    const std::string& path = SharedTestFile().Path();
    RunMeasured(state, TestFile::Size, 5, [&path] {
        quorvix::FileStream stream(path);
        std::uint8_t piece[quorvix::StreamPieceSize];
        while (stream.Read(piece, sizeof piece) != 0) {
            benchmark::DoNotOptimize(piece);
        }
    });
}
BENCHMARK(BM_FileStreamRead);

// A whole file digest as the product makes it: open, read in pieces, digest, close.
void BM_DigestOfFile(benchmark::State& state) {
    const std::string& path = SharedTestFile().Path();
    RunMeasured(state, TestFile::Size, 5, [&path] {
        quorvix::Md5Digest digest = quorvix::DigestOfFile(path);
        benchmark::DoNotOptimize(digest);
    });
}
BENCHMARK(BM_DigestOfFile);

// A folder of 128 files of 1 MiB under $TMPDIR (or /tmp), written just before use so they sit in
// the page cache, and removed when the benchmarks end.
class TestFolder {
public:
    static constexpr std::size_t FileCount = 128;

    TestFolder() {
        const char* folder = std::getenv("TMPDIR");
        path_ = std::string(folder != nullptr && *folder != 0 ? folder : "/tmp") +
                "/quorvix-bench-folder.XXXXXX";
        if (::mkdtemp(path_.data()) == nullptr) {
            throw std::runtime_error("cannot make a test folder " + path_);
        }
        const auto& buffer = TestBuffer();
        for (std::size_t i = 0; i < FileCount; ++i) {
            files_.push_back(path_ + "/" + std::to_string(i));
            const int fd = ::open(files_.back().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            // Each file starts at another byte of the buffer, so no two are alike.
            const std::size_t shift = i * 4099 % buffer.size();
            const bool written = fd >= 0 &&
                                 ::write(fd, buffer.data() + shift, buffer.size() - shift) ==
                                     static_cast<ssize_t>(buffer.size() - shift) &&
                                 ::write(fd, buffer.data(), shift) == static_cast<ssize_t>(shift);
            if (fd >= 0) {
                ::close(fd);
            }
            if (!written) {
                Remove();
                throw std::runtime_error("cannot write the test file " + files_.back());
            }
        }
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    ~TestFolder() { Remove(); }

    const std::vector<std::string>& Files() const { return files_; }

private:
    void Remove() {
        for (const auto& file : files_) {
            ::unlink(file.c_str());
        }
        ::rmdir(path_.c_str());
    }

    std::string path_;
    std::vector<std::string> files_;
};

const TestFolder& SharedTestFolder() {
    static const TestFolder folder;
    return folder;
}

// Opens each file as the lanes ask for it and closes it when its digest is done, as a worker of
// a folder job would.
class FileListFeed : public quorvix::LaneFeed {
public:
    explicit FileListFeed(const std::vector<std::string>& files)
        : files_(files), streams_(files.size()) {}
    std::optional<quorvix::LaneInput> Next(bool) override {
        if (next_ == files_.size()) {
            return std::nullopt;
        }
        streams_[next_] = std::make_unique<quorvix::FileStream>(files_[next_]);
        ++next_;
        return quorvix::LaneInput{next_ - 1, streams_[next_ - 1].get()};
    }
    void Done(std::size_t id, std::optional<quorvix::Md5Digest> digest,
              std::exception_ptr failure) override {
        if (!digest || failure) {
            throw std::runtime_error("a lane benchmark file failed");
        }
        benchmark::DoNotOptimize(digest);
        streams_[id].reset();
    }

private:
    const std::vector<std::string>& files_;
    std::vector<std::unique_ptr<quorvix::FileStream>> streams_;
    std::size_t next_ = 0;
};

// A folder job's digests through the lanes: 128 files of 1 MiB in the page cache, opened,
// read through the file stream, digested and closed. Argument: the number of lanes, as above.
void BM_FilesInLanes(benchmark::State& state) {
    const quorvix::LaneEngine engine = EngineWithLanes(state.range(0));
    if (!quorvix::LaneEngineSupported(engine)) {
        state.SkipWithError("this processor lacks the engine");
        return;
    }
    const auto& files = SharedTestFolder().Files();
    RunMeasured(state, files.size() * BufferSize, 5, [&files, engine] {
        FileListFeed feed(files);
        quorvix::DigestStreamsInLanes(feed, engine);
    });
}
BENCHMARK(BM_FilesInLanes)->Arg(1)->Arg(8)->Arg(16)->Arg(32);

} // namespace

int main(int argc, char** argv) {
    // Our own flag first, then the library's; the library rejects flags it does not know.
    std::vector<char*> arguments;
    for (int i = 0; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--clock_ghz=", 0) == 0) {
            GivenClockHz = std::strtod(argument.c_str() + 12, nullptr) * 1e9;
        } else {
            arguments.push_back(argv[i]);
        }
    }
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
