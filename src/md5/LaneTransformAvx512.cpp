// MD5 lanes with AVX-512: one 512-bit register holds the same word of sixteen digests. Compiled
// with -mavx512f -mavx512vl; LaneEngine.cpp calls it only on a processor that has both.
#include "md5/VectorLaneTransforms.h"

#include "md5/Md5StepSchedule.h"

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

// The round steps under the names the shared step schedule asks for.
template <int Groups> struct Avx512Steps {
    using W = Words<Groups>;
    template <int Shift> static QUORVIX_VECTOR_INLINE W F(W a, W b, W c, W d, W x, unsigned k) {
        return StepF<Shift>(a, b, c, d, x, k);
    }
    template <int Shift> static QUORVIX_VECTOR_INLINE W G(W a, W b, W c, W d, W x, unsigned k) {
        return StepG<Shift>(a, b, c, d, x, k);
    }
    template <int Shift> static QUORVIX_VECTOR_INLINE W H(W a, W b, W c, W d, W x, unsigned k) {
        return StepH<Shift>(a, b, c, d, x, k);
    }
    template <int Shift> static QUORVIX_VECTOR_INLINE W I(W a, W b, W c, W d, W x, unsigned k) {
        return StepI<Shift>(a, b, c, d, x, k);
    }
};

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

        md5steps::RunSteps<Avx512Steps<Groups>>(a, b, c, d, x);

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
