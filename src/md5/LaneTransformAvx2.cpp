// Eight MD5 lanes with AVX2: one 256-bit register holds the same word of eight digests.
// Compiled with -mavx2; LaneEngine.cpp calls it only on a processor that has it.
#include "md5/VectorLaneTransforms.h"

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

        a = StepF<7>(a, b, c, d, x[0], 0xd76aa478);
        d = StepF<12>(d, a, b, c, x[1], 0xe8c7b756);
        c = StepF<17>(c, d, a, b, x[2], 0x242070db);
        b = StepF<22>(b, c, d, a, x[3], 0xc1bdceee);
        a = StepF<7>(a, b, c, d, x[4], 0xf57c0faf);
        d = StepF<12>(d, a, b, c, x[5], 0x4787c62a);
        c = StepF<17>(c, d, a, b, x[6], 0xa8304613);
        b = StepF<22>(b, c, d, a, x[7], 0xfd469501);
        a = StepF<7>(a, b, c, d, x[8], 0x698098d8);
        d = StepF<12>(d, a, b, c, x[9], 0x8b44f7af);
        c = StepF<17>(c, d, a, b, x[10], 0xffff5bb1);
        b = StepF<22>(b, c, d, a, x[11], 0x895cd7be);
        a = StepF<7>(a, b, c, d, x[12], 0x6b901122);
        d = StepF<12>(d, a, b, c, x[13], 0xfd987193);
        c = StepF<17>(c, d, a, b, x[14], 0xa679438e);
        b = StepF<22>(b, c, d, a, x[15], 0x49b40821);

        a = StepG<5>(a, b, c, d, x[1], 0xf61e2562);
        d = StepG<9>(d, a, b, c, x[6], 0xc040b340);
        c = StepG<14>(c, d, a, b, x[11], 0x265e5a51);
        b = StepG<20>(b, c, d, a, x[0], 0xe9b6c7aa);
        a = StepG<5>(a, b, c, d, x[5], 0xd62f105d);
        d = StepG<9>(d, a, b, c, x[10], 0x02441453);
        c = StepG<14>(c, d, a, b, x[15], 0xd8a1e681);
        b = StepG<20>(b, c, d, a, x[4], 0xe7d3fbc8);
        a = StepG<5>(a, b, c, d, x[9], 0x21e1cde6);
        d = StepG<9>(d, a, b, c, x[14], 0xc33707d6);
        c = StepG<14>(c, d, a, b, x[3], 0xf4d50d87);
        b = StepG<20>(b, c, d, a, x[8], 0x455a14ed);
        a = StepG<5>(a, b, c, d, x[13], 0xa9e3e905);
        d = StepG<9>(d, a, b, c, x[2], 0xfcefa3f8);
        c = StepG<14>(c, d, a, b, x[7], 0x676f02d9);
        b = StepG<20>(b, c, d, a, x[12], 0x8d2a4c8a);

        a = StepH<4>(a, b, c, d, x[5], 0xfffa3942);
        d = StepH<11>(d, a, b, c, x[8], 0x8771f681);
        c = StepH<16>(c, d, a, b, x[11], 0x6d9d6122);
        b = StepH<23>(b, c, d, a, x[14], 0xfde5380c);
        a = StepH<4>(a, b, c, d, x[1], 0xa4beea44);
        d = StepH<11>(d, a, b, c, x[4], 0x4bdecfa9);
        c = StepH<16>(c, d, a, b, x[7], 0xf6bb4b60);
        b = StepH<23>(b, c, d, a, x[10], 0xbebfbc70);
        a = StepH<4>(a, b, c, d, x[13], 0x289b7ec6);
        d = StepH<11>(d, a, b, c, x[0], 0xeaa127fa);
        c = StepH<16>(c, d, a, b, x[3], 0xd4ef3085);
        b = StepH<23>(b, c, d, a, x[6], 0x04881d05);
        a = StepH<4>(a, b, c, d, x[9], 0xd9d4d039);
        d = StepH<11>(d, a, b, c, x[12], 0xe6db99e5);
        c = StepH<16>(c, d, a, b, x[15], 0x1fa27cf8);
        b = StepH<23>(b, c, d, a, x[2], 0xc4ac5665);

        a = StepI<6>(a, b, c, d, x[0], 0xf4292244);
        d = StepI<10>(d, a, b, c, x[7], 0x432aff97);
        c = StepI<15>(c, d, a, b, x[14], 0xab9423a7);
        b = StepI<21>(b, c, d, a, x[5], 0xfc93a039);
        a = StepI<6>(a, b, c, d, x[12], 0x655b59c3);
        d = StepI<10>(d, a, b, c, x[3], 0x8f0ccc92);
        c = StepI<15>(c, d, a, b, x[10], 0xffeff47d);
        b = StepI<21>(b, c, d, a, x[1], 0x85845dd1);
        a = StepI<6>(a, b, c, d, x[8], 0x6fa87e4f);
        d = StepI<10>(d, a, b, c, x[15], 0xfe2ce6e0);
        c = StepI<15>(c, d, a, b, x[6], 0xa3014314);
        b = StepI<21>(b, c, d, a, x[13], 0x4e0811a1);
        a = StepI<6>(a, b, c, d, x[4], 0xf7537e82);
        d = StepI<10>(d, a, b, c, x[11], 0xbd3af235);
        c = StepI<15>(c, d, a, b, x[2], 0x2ad7d2bb);
        b = StepI<21>(b, c, d, a, x[9], 0xeb86d391);

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
