#include "md5/LaneEngine.h"
#include "md5/Md5Transform.h"

#if QUORVIX_MULTI_BUFFER
#include "md5/VectorLaneTransforms.h"
#endif

#include <stdexcept>

namespace quorvix {
namespace {

// The scalar engine's one lane, taken out of the word-major layout and put back.
void TransformScalarLane(LaneStates& states, const std::uint8_t* const blocks[],
                         std::size_t blockCount) {
    std::uint32_t state[4];
    for (int w = 0; w < 4; ++w) {
        state[w] = states.words[w][0];
    }
    TransformBlocks(state, blocks[0], blockCount);
    for (int w = 0; w < 4; ++w) {
        states.words[w][0] = state[w];
    }
}

#if QUORVIX_MULTI_BUFFER
// GCC's and Clang's feature test also checks that the operating system saves the vector
// registers (XCR0), so a kernel that does not enable AVX-512 gets the AVX2 engine.
bool ProcessorHasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

bool ProcessorHasAvx512() {
    static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl");
    return has;
}
#endif

} // namespace

std::size_t LaneCount(LaneEngine engine) {
    switch (engine) {
    case LaneEngine::Avx2x8:
        return 8;
    case LaneEngine::Avx512x16:
        return 16;
    case LaneEngine::Avx512x32:
        return 32;
    case LaneEngine::Scalar:
        break;
    }
    return 1;
}

bool LaneEngineSupported(LaneEngine engine) {
    switch (engine) {
    case LaneEngine::Scalar:
        return true;
#if QUORVIX_MULTI_BUFFER
    case LaneEngine::Avx2x8:
        return ProcessorHasAvx2();
    case LaneEngine::Avx512x16:
    case LaneEngine::Avx512x32:
        return ProcessorHasAvx512();
#else
    case LaneEngine::Avx2x8:
    case LaneEngine::Avx512x16:
    case LaneEngine::Avx512x32:
        break;
#endif
    }
    return false;
}

LaneEngine BestLaneEngine() {
    for (const LaneEngine engine : {LaneEngine::Avx512x32, LaneEngine::Avx2x8}) {
        if (LaneEngineSupported(engine)) {
            return engine;
        }
    }
    return LaneEngine::Scalar;
}

void TransformLanes(LaneEngine engine, LaneStates& states, const std::uint8_t* const blocks[],
                    std::size_t blockCount) {
    if (!LaneEngineSupported(engine)) {
        throw std::invalid_argument("this processor or build cannot run the requested MD5 lane "
                                    "engine; use BestLaneEngine()");
    }
    switch (engine) {
#if QUORVIX_MULTI_BUFFER
    case LaneEngine::Avx2x8:
        TransformLanesAvx2(states, blocks, blockCount);
        return;
    case LaneEngine::Avx512x16:
        TransformLanesAvx512(states, blocks, blockCount);
        return;
    case LaneEngine::Avx512x32:
        TransformLanesAvx512x2(states, blocks, blockCount);
        return;
#endif
    default:
        TransformScalarLane(states, blocks, blockCount);
        return;
    }
}

} // namespace quorvix
