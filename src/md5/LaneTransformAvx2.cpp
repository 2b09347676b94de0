// Eight MD5 lanes with AVX2: one 256-bit register holds the same word of eight digests.
// Compiled with -mavx2; LaneEngine.cpp calls it only on a processor that has it.
#include "md5/VectorLaneTransforms.h"

#include "md5/Md5StepSchedule.h"

#include <immintrin.h>

namespace quorvix {
namespace {

#define QUORVIX_VECTOR_INLINE inline __attribute__((always_inline))

QUORVIX_VECTOR_INLINE __m256i Add(__m256i left, __m256i right) {
    return _mm256_add_epi32(left, right);
}

// AVX2 has no rotation: two shifts and an or.
template <int Shift> QUORVIX_VECTOR_INLINE __m256i RotateLeft(__m256i v) {
    return _mm256_or_si256(_mm256_slli_epi32(v, Shift), _mm256_srli_epi32(v, 32 - Shift));
}

// Hands back value unchanged, but as a value the compiler must have in a register, so it cannot
// spread the sum it came from over the additions that follow (see Settled in Md5.cpp).
QUORVIX_VECTOR_INLINE __m256i Settled(__m256i value) {
    __asm__("" : "+x"(value));
    return value;
}

// a + x + k, which does not wait for b (the word the step before produced).
QUORVIX_VECTOR_INLINE __m256i EarlySum(__m256i a, __m256i x, unsigned k) {
    return Add(a, Add(x, _mm256_set1_epi32(static_cast<int>(k))));
}

// As in the scalar transform, everything without b joins the early sum, so only the operations
// that need b stay on the chain of dependent steps.
template <int Shift>
QUORVIX_VECTOR_INLINE __m256i StepF(__m256i a, __m256i b, __m256i c, __m256i d, __m256i x,
                                    unsigned k) {
    a = Settled(EarlySum(a, x, k));
    a = Add(a, _mm256_xor_si256(d, _mm256_and_si256(b, _mm256_xor_si256(c, d))));
    return Add(b, RotateLeft<Shift>(a));
}

template <int Shift>
QUORVIX_VECTOR_INLINE __m256i StepG(__m256i a, __m256i b, __m256i c, __m256i d, __m256i x,
                                    unsigned k) {
    // (b & d) | (c & ~d): the halves never share a bit, so they may be added.
    a = Settled(Add(EarlySum(a, x, k), _mm256_andnot_si256(d, c)));
    a = Add(a, _mm256_and_si256(b, d));
    return Add(b, RotateLeft<Shift>(a));
}

template <int Shift>
QUORVIX_VECTOR_INLINE __m256i StepH(__m256i a, __m256i b, __m256i c, __m256i d, __m256i x,
                                    unsigned k) {
    a = Settled(EarlySum(a, x, k));
    a = Add(a, _mm256_xor_si256(b, Settled(_mm256_xor_si256(c, d))));
    return Add(b, RotateLeft<Shift>(a));
}

template <int Shift>
QUORVIX_VECTOR_INLINE __m256i StepI(__m256i a, __m256i b, __m256i c, __m256i d, __m256i x,
                                    unsigned k) {
    a = Settled(EarlySum(a, x, k));
    const __m256i notD = _mm256_xor_si256(d, _mm256_set1_epi32(-1));
    a = Add(a, _mm256_xor_si256(c, _mm256_or_si256(b, notD)));
    return Add(b, RotateLeft<Shift>(a));
}

// Transposes eight rows of eight words in place: afterwards rows[w] holds word w of every row.
// Pairs of rows are interleaved by words, then by word pairs, then 128-bit halves swapped.
QUORVIX_VECTOR_INLINE void Transpose8(__m256i rows[8]) {
    __m256i words[8];
    for (int pair = 0; pair < 4; ++pair) {
        words[2 * pair] = _mm256_unpacklo_epi32(rows[2 * pair], rows[2 * pair + 1]);
        words[2 * pair + 1] = _mm256_unpackhi_epi32(rows[2 * pair], rows[2 * pair + 1]);
    }
    // quads[4 * group + e], in each 128-bit half h, holds word 4h + e of rows 4 * group to
    // 4 * group + 3.
    __m256i quads[8];
    for (int group = 0; group < 2; ++group) {
        const __m256i* t = words + 4 * group;
        quads[4 * group + 0] = _mm256_unpacklo_epi64(t[0], t[2]);
        quads[4 * group + 1] = _mm256_unpackhi_epi64(t[0], t[2]);
        quads[4 * group + 2] = _mm256_unpacklo_epi64(t[1], t[3]);
        quads[4 * group + 3] = _mm256_unpackhi_epi64(t[1], t[3]);
    }
    for (int e = 0; e < 4; ++e) {
        rows[e] = _mm256_permute2x128_si256(quads[e], quads[4 + e], 0x20);
        rows[4 + e] = _mm256_permute2x128_si256(quads[e], quads[4 + e], 0x31);
    }
}

// The round steps under the names the shared step schedule asks for.
struct Avx2Steps {
    template <int Shift>
    static QUORVIX_VECTOR_INLINE __m256i F(__m256i a, __m256i b, __m256i c, __m256i d, __m256i x,
                                           unsigned k) {
        return StepF<Shift>(a, b, c, d, x, k);
    }
    template <int Shift>
    static QUORVIX_VECTOR_INLINE __m256i G(__m256i a, __m256i b, __m256i c, __m256i d, __m256i x,
                                           unsigned k) {
        return StepG<Shift>(a, b, c, d, x, k);
    }
    template <int Shift>
    static QUORVIX_VECTOR_INLINE __m256i H(__m256i a, __m256i b, __m256i c, __m256i d, __m256i x,
                                           unsigned k) {
        return StepH<Shift>(a, b, c, d, x, k);
    }
    template <int Shift>
    static QUORVIX_VECTOR_INLINE __m256i I(__m256i a, __m256i b, __m256i c, __m256i d, __m256i x,
                                           unsigned k) {
        return StepI<Shift>(a, b, c, d, x, k);
    }
};

// Reads one block of every lane, at offset bytes from the lane's pointer, so that x[w] holds word
// w of every lane.
QUORVIX_VECTOR_INLINE void LoadTransposed(__m256i x[16], const std::uint8_t* const blocks[],
                                          std::size_t offset) {
    for (int lane = 0; lane < 8; ++lane) {
        const auto* row = reinterpret_cast<const __m256i*>(blocks[lane] + offset);
        x[lane] = _mm256_loadu_si256(row);
        x[8 + lane] = _mm256_loadu_si256(row + 1);
    }
    Transpose8(x);
    Transpose8(x + 8);
}

} // namespace

void TransformLanesAvx2(LaneStates& states, const std::uint8_t* const blocks[],
                        std::size_t blockCount) {
    __m256i chainA = _mm256_load_si256(reinterpret_cast<const __m256i*>(states.words[0]));
    __m256i chainB = _mm256_load_si256(reinterpret_cast<const __m256i*>(states.words[1]));
    __m256i chainC = _mm256_load_si256(reinterpret_cast<const __m256i*>(states.words[2]));
    __m256i chainD = _mm256_load_si256(reinterpret_cast<const __m256i*>(states.words[3]));
    for (std::size_t block = 0; block < blockCount; ++block) {
        __m256i x[16];
        LoadTransposed(x, blocks, 64 * block);
        __m256i a = chainA;
        __m256i b = chainB;
        __m256i c = chainC;
        __m256i d = chainD;

        md5steps::RunSteps<Avx2Steps>(a, b, c, d, x);

        chainA = Add(chainA, a);
        chainB = Add(chainB, b);
        chainC = Add(chainC, c);
        chainD = Add(chainD, d);
    }
    _mm256_store_si256(reinterpret_cast<__m256i*>(states.words[0]), chainA);
    _mm256_store_si256(reinterpret_cast<__m256i*>(states.words[1]), chainB);
    _mm256_store_si256(reinterpret_cast<__m256i*>(states.words[2]), chainC);
    _mm256_store_si256(reinterpret_cast<__m256i*>(states.words[3]), chainD);
}

} // namespace quorvix
