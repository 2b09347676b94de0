// The transform alone: DigestOfBuffer over a 1 MiB buffer that sits in cache, next to OpenSSL's
// one-shot MD5 over the same buffer in the same binary, so the two see the same machine state.
//
// Besides bytes per second, each digest benchmark reports cycles per byte. The virtual machines
// this runs on usually hide the cycle counters, so the core clock is measured here instead: a
// chain of dependent additions runs at one addition per cycle on every x86-64 core, and its rate
// is the clock the core runs at while it is busy (turbo included, unlike the nominal clock in
// /proc/cpuinfo). Pass --clock_ghz=X to use a clock of your own instead.
#include "md5/Md5.h"

#include <benchmark/benchmark.h>
#include <openssl/md5.h>

#include <time.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
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

// Additions per second along one dependency chain, i.e. the core clock in hertz. The barrier
// after each addition keeps the value in a register and stops the compiler from folding the
// chain; the loop counter runs alongside on other execution units.
double MeasureAdditionRate() {
    constexpr std::uint64_t Rounds = 2'000'000;
    std::uint64_t value = 0;
    std::uint64_t step = 1;
    benchmark::DoNotOptimize(step); // a register operand, so no core can fold the additions
    const double start = ThreadCpuSeconds();
    for (std::uint64_t i = 0; i < Rounds; ++i) {
        for (int j = 0; j < 8; ++j) {
            value += step;
            benchmark::DoNotOptimize(value);
        }
    }
    return static_cast<double>(Rounds * 8) / (ThreadCpuSeconds() - start);
}

// The best of a few short trials: another process taking the core only makes a trial slower.
double MeasureCoreClock(int trials) {
    double best = 0;
    for (int trial = 0; trial < trials; ++trial) {
        best = std::max(best, MeasureAdditionRate());
    }
    return best;
}

// Runs digest once per iteration over the buffer and reports bytes per second and cycles per
// byte. The clock of a virtual machine's core drifts with the load on its host, so unless one is
// given it is measured again right before and right after each run, outside the timed loop.
template <typename Digest> void RunDigest(benchmark::State& state, Digest digest) {
    const auto& buffer = TestBuffer();
    double clockHz = GivenClockHz > 0 ? GivenClockHz : MeasureCoreClock(3);
    const double start = ThreadCpuSeconds();
    for (auto _ : state) {
        digest(buffer.data(), buffer.size());
    }
    const double elapsed = ThreadCpuSeconds() - start;
    if (GivenClockHz <= 0) {
        clockHz = std::max(clockHz, MeasureCoreClock(3));
    }
    state.counters["GHz"] = clockHz / 1e9;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(BufferSize));
    state.counters["cycles/B"] = benchmark::Counter(
        elapsed * clockHz / static_cast<double>(BufferSize), benchmark::Counter::kAvgIterations);
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
