// The transform alone: DigestOfBuffer over a 1 MiB buffer that sits in cache, next to OpenSSL's
// one-shot MD5 over the same buffer in the same binary, so the two see the same machine state.
//
// Besides bytes per second, each digest benchmark reports cycles per byte. The virtual machines
// this runs on usually hide the cycle counters, so the core clock is measured here instead: a
// chain of dependent additions runs at one addition per cycle on every x86-64 core, and its rate
// is the clock the core runs at while it is busy (turbo included, unlike the nominal clock in
// /proc/cpuinfo). Pass --clock_ghz=X to reckon cycles at a clock of your own instead; the
// cycles are then taken from the timed loop.
#include "md5/Md5.h"

#include <benchmark/benchmark.h>
#include <openssl/md5.h>

#include <time.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
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

// Cycles per byte of one digest of the buffer, reckoned against the addition chain. The clock of
// a virtual machine's core moves within milliseconds (it drops while the core idles and climbs
// again under load), so each digest is paired with a chain of about the same duration right
// after it, and the figure is the median of the pairs' ratios.
template <typename Digest>
CycleFigures MeasureCycles(Digest& digest, const std::vector<std::uint8_t>& buffer) {
    constexpr std::uint64_t Additions = 4'000'000; // about as long as a digest of 1 MiB
    constexpr int Pairs = 15;
    std::vector<double> cyclesPerByte;
    std::vector<double> clockHz;
    digest(buffer.data(), buffer.size()); // the core at its working clock before the first pair
    for (int pair = 0; pair < Pairs; ++pair) {
        const double start = ThreadCpuSeconds();
        digest(buffer.data(), buffer.size());
        const double digested = ThreadCpuSeconds();
        RunAdditionChain(Additions);
        const double added = ThreadCpuSeconds();
        const double hz = static_cast<double>(Additions) / (added - digested);
        clockHz.push_back(hz);
        cyclesPerByte.push_back((digested - start) * hz / static_cast<double>(buffer.size()));
    }
    return {Median(cyclesPerByte), Median(clockHz)};
}

// Runs digest once per iteration over the buffer and reports bytes per second and, measured
// outside the timed loop, cycles per byte and the clock they were reckoned at.
template <typename Digest> void RunDigest(benchmark::State& state, Digest digest) {
    const auto& buffer = TestBuffer();
    const double start = ThreadCpuSeconds();
    for (auto _ : state) {
        digest(buffer.data(), buffer.size());
    }
    const double elapsed = ThreadCpuSeconds() - start;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(BufferSize));
    if (GivenClockHz > 0) {
        state.counters["GHz"] = GivenClockHz / 1e9;
        state.counters["cycles/B"] =
            benchmark::Counter(elapsed * GivenClockHz / static_cast<double>(BufferSize),
                               benchmark::Counter::kAvgIterations);
    } else {
        const CycleFigures figures = MeasureCycles(digest, buffer);
        state.counters["GHz"] = figures.clockHz / 1e9;
        state.counters["cycles/B"] = figures.cyclesPerByte;
    }
}

void BM_DigestOfBuffer(benchmark::State& state) {
    RunDigest(state, [](const std::uint8_t* bytes, std::size_t length) {
        quorvix::Md5Digest digest =
            quorvix::DigestOfBuffer(bytes, static_cast<std::uint32_t>(length));
        benchmark::DoNotOptimize(digest);
    });
}
BENCHMARK(BM_DigestOfBuffer);

void BM_OpenSslMd5(benchmark::State& state) {
    RunDigest(state, [](const std::uint8_t* bytes, std::size_t length) {
        unsigned char digest[MD5_DIGEST_LENGTH];
        // OpenSSL 3 marks the one-shot MD5() deprecated; it is the lightest way to reach its
        // transform, which is all that is compared here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        MD5(bytes, length, digest);
#pragma GCC diagnostic pop
        benchmark::DoNotOptimize(digest);
    });
}
BENCHMARK(BM_OpenSslMd5);

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
