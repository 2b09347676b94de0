// MD5 lanes with AVX-512: one 512-bit register holds the same word of sixteen digests. Compiled
// with -mavx512f -mavx512vl; LaneEngine.cpp calls it only on a processor that has both.
#include "md5/VectorLaneTransforms.h"

// GCC 12's own AVX-512 intrinsics start from a deliberately undefined vector ("__Y = __Y"),
// which its -Wmaybe-uninitialized reports inside the header wherever they are inlined (fixed in
// GCC 13). The warning is silenced for the header's lines only.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

namespace quorvix {
namespace {

#define QUORVIX_VECTOR_INLINE inline __attribute__((always_inline))

// One word of Groups times sixteen lanes. The steps of every group are independent of one
// another, so with two groups the core runs one group's step while the other's waits for its
// previous step: a single group leaves most of the vector units idle, as each step waits on four
// dependent instructions of two cycles each on this generation of cores (AMD family 1Ah).
template <int Groups> struct Words { __m512i group[Groups]; };

// Hands back value unchanged, but as a value the compiler must have in a register, so it cannot
// spread the sum it came from over the additions that follow (see Settled in Md5.cpp).
template <int Groups> QUORVIX_VECTOR_INLINE Words<Groups> Settled(Words<Groups> value) {
    for (int g = 0; g < Groups; ++g) {
        __asm__("" : "+v"(value.group[g]));
    }
    return value;
}

// Each step is a + x + k (which does not wait for b, the word the step before produced), plus the
// round function of b, c and d in one vpternlogd, rotated with vprold, plus b: four instructions
// on the chain of dependent steps.
template <int Logic, int Shift, int Groups>
QUORVIX_VECTOR_INLINE Words<Groups> Step(Words<Groups> a, Words<Groups> b, Words<Groups> c,
                                         Words<Groups> d, Words<Groups> x, unsigned k) {
    const __m512i constant = _mm512_set1_epi32(static_cast<int>(k));
    for (int g = 0; g < Groups; ++g) {
        a.group[g] = _mm512_add_epi32(a.group[g], _mm512_add_epi32(x.group[g], constant));
    }
    a = Settled(a);
    for (int g = 0; g < Groups; ++g) {
        const __m512i round = _mm512_ternarylogic_epi32(b.group[g], c.group[g], d.group[g], Logic);
        a.group[g] = _mm512_add_epi32(b.group[g],
                                      _mm512_rol_epi32(_mm512_add_epi32(a.group[g], round), Shift));
    }
    return a;
}

// The truth tables of the round functions of b, c and d for vpternlogd, whose first operand
// gives the high bit of the table index: b ? c : d, d ? b : c, b ^ c ^ d and c ^ (b | ~d).
template <int Shift, int Groups>
QUORVIX_VECTOR_INLINE Words<Groups> StepF(Words<Groups> a, Words<Groups> b, Words<Groups> c,
                                          Words<Groups> d, Words<Groups> x, unsigned k) {
    return Step<0xCA, Shift>(a, b, c, d, x, k);
}
template <int Shift, int Groups>
QUORVIX_VECTOR_INLINE Words<Groups> StepG(Words<Groups> a, Words<Groups> b, Words<Groups> c,
                                          Words<Groups> d, Words<Groups> x, unsigned k) {
    return Step<0xE4, Shift>(a, b, c, d, x, k);
}
template <int Shift, int Groups>
QUORVIX_VECTOR_INLINE Words<Groups> StepH(Words<Groups> a, Words<Groups> b, Words<Groups> c,
                                          Words<Groups> d, Words<Groups> x, unsigned k) {
    return Step<0x96, Shift>(a, b, c, d, x, k);
}
template <int Shift, int Groups>
QUORVIX_VECTOR_INLINE Words<Groups> StepI(Words<Groups> a, Words<Groups> b, Words<Groups> c,
                                          Words<Groups> d, Words<Groups> x, unsigned k) {
    return Step<0x39, Shift>(a, b, c, d, x, k);
}

// Reads one block of each of sixteen lanes, at offset bytes from the lane's pointer, and
// transposes the 16 by 16 words so that x[w] holds word w of every lane: pairs of rows interleaved
// by words, then by word pairs, then 128-bit quarters gathered across rows in two steps.
QUORVIX_VECTOR_INLINE void LoadTransposed(__m512i x[16], const std::uint8_t* const blocks[],
                                          std::size_t offset) {
    __m512i rows[16];
    for (int lane = 0; lane < 16; ++lane) {
        rows[lane] = _mm512_loadu_si512(blocks[lane] + offset);
    }
    __m512i words[16];
    for (int pair = 0; pair < 8; ++pair) {
        words[2 * pair] = _mm512_unpacklo_epi32(rows[2 * pair], rows[2 * pair + 1]);
        words[2 * pair + 1] = _mm512_unpackhi_epi32(rows[2 * pair], rows[2 * pair + 1]);
    }
    // quads[4 * group + e], in each 128-bit quarter q, holds word 4q + e of rows 4 * group to
    // 4 * group + 3.
    __m512i quads[16];
    for (int group = 0; group < 4; ++group) {
        const __m512i* t = words + 4 * group;
        quads[4 * group + 0] = _mm512_unpacklo_epi64(t[0], t[2]);
        quads[4 * group + 1] = _mm512_unpackhi_epi64(t[0], t[2]);
        quads[4 * group + 2] = _mm512_unpacklo_epi64(t[1], t[3]);
        quads[4 * group + 3] = _mm512_unpackhi_epi64(t[1], t[3]);
    }
    for (int e = 0; e < 4; ++e) {
        // Quarters 0 and 2 (even) or 1 and 3 (odd) of row groups 0 and 1, then of 2 and 3.
        const __m512i lowEven = _mm512_shuffle_i32x4(quads[e], quads[4 + e], 0x88);
        const __m512i lowOdd = _mm512_shuffle_i32x4(quads[e], quads[4 + e], 0xDD);
        const __m512i highEven = _mm512_shuffle_i32x4(quads[8 + e], quads[12 + e], 0x88);
        const __m512i highOdd = _mm512_shuffle_i32x4(quads[8 + e], quads[12 + e], 0xDD);
        x[e] = _mm512_shuffle_i32x4(lowEven, highEven, 0x88);
        x[8 + e] = _mm512_shuffle_i32x4(lowEven, highEven, 0xDD);
        x[4 + e] = _mm512_shuffle_i32x4(lowOdd, highOdd, 0x88);
        x[12 + e] = _mm512_shuffle_i32x4(lowOdd, highOdd, 0xDD);
    }
}

// Advances Groups times sixteen lanes; the contract of TransformLanes.
template <int Groups>
void TransformGroups(LaneStates& states, const std::uint8_t* const blocks[],
                     std::size_t blockCount) {
    Words<Groups> chain[4];
    for (int w = 0; w < 4; ++w) {
        for (int g = 0; g < Groups; ++g) {
            chain[w].group[g] = _mm512_load_si512(states.words[w] + 16 * g);
        }
    }
    for (std::size_t block = 0; block < blockCount; ++block) {
        Words<Groups> x[16];
        for (int g = 0; g < Groups; ++g) {
            __m512i words[16];
            LoadTransposed(words, blocks + 16 * g, 64 * block);
            for (int w = 0; w < 16; ++w) {
                x[w].group[g] = words[w];
            }
        }
        Words<Groups> a = chain[0];
        Words<Groups> b = chain[1];
        Words<Groups> c = chain[2];
        Words<Groups> d = chain[3];

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

        const Words<Groups> results[4] = {a, b, c, d};
        for (int w = 0; w < 4; ++w) {
            for (int g = 0; g < Groups; ++g) {
                chain[w].group[g] = _mm512_add_epi32(chain[w].group[g], results[w].group[g]);
            }
        }
    }
    for (int w = 0; w < 4; ++w) {
        for (int g = 0; g < Groups; ++g) {
            _mm512_store_si512(states.words[w] + 16 * g, chain[w].group[g]);
        }
    }
}

} // namespace

void TransformLanesAvx512(LaneStates& states, const std::uint8_t* const blocks[],
                          std::size_t blockCount) {
    TransformGroups<1>(states, blocks, blockCount);
}

void TransformLanesAvx512x2(LaneStates& states, const std::uint8_t* const blocks[],
                            std::size_t blockCount) {
    TransformGroups<2>(states, blocks, blockCount);
}

} // namespace quorvix
