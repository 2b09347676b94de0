// Lane engines: one call advances several independent MD5 digests at once, one per SIMD lane.
// A single message cannot go faster than MD5's chain of dependent steps allows, but many
// messages side by side share each vector instruction, which is what a folder of files needs.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvix {

// The ways of advancing lanes: the portable scalar transform (one lane), AVX2 (eight lanes),
// AVX-512 (sixteen lanes) and AVX-512 with two groups of sixteen lanes interleaved (thirty-two
// lanes). On cores whose vector instructions take two cycles each (AMD family 1Ah), sixteen lanes
// leave the vector units mostly waiting on MD5's chain of dependent steps; thirty-two cost about
// as much per call as sixteen and so digest nearly twice as fast.
enum class LaneEngine { Scalar, Avx2x8, Avx512x16, Avx512x32 };

// The most lanes any engine has.
inline constexpr std::size_t MaxLanes = 32;

// The chaining values of up to MaxLanes digests, word-major: words[w][lane] is word w (A, B, C,
// D for w = 0 to 3) of that lane, so that one vector load takes one word of every lane.
struct alignas(64) LaneStates {
    std::uint32_t words[4][MaxLanes];
};

// How many lanes the engine advances in one call: 1, 8, 16 or 32. Cannot fail.
std::size_t LaneCount(LaneEngine engine);

// Whether this build has the engine and this processor (and operating system) can run it. The
// scalar engine is always supported. Cannot fail.
bool LaneEngineSupported(LaneEngine engine);

// The fastest supported engine: the one with the most lanes. Cannot fail.
LaneEngine BestLaneEngine();

// Advances every lane below LaneCount(engine) by blockCount consecutive 64-byte blocks: lane i
// reads its blocks from blocks[i] onwards and chains from and into states' words of lane i. A lane
// with nothing to digest must still point at blockCount readable blocks (any busy lane's will do)
// and its state is then meaningless. Throws std::invalid_argument when the engine is not supported
// here (LaneEngineSupported); cannot fail otherwise.
void TransformLanes(LaneEngine engine, LaneStates& states, const std::uint8_t* const blocks[],
                    std::size_t blockCount);

} // namespace quorvix
