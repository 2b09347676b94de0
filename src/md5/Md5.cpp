#include "md5/Md5.h"
#include "md5/Md5Transform.h"

#include <bit>
#include <cstring>

#if defined(__GNUC__) || defined(__clang__)
#define QUORVIX_ALWAYS_INLINE inline __attribute__((always_inline))
#else
#define QUORVIX_ALWAYS_INLINE inline
#endif

namespace quorvix {
namespace {

// The first pad byte is 0x80, the rest zero: as many of them as bring the length to 56 mod 64.
constexpr std::uint8_t PadBlock[64] = {0x80};

QUORVIX_ALWAYS_INLINE std::uint32_t LoadLittleEndian(const std::uint8_t* bytes) {
    std::uint32_t word;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native == std::endian::big) {
        word = (word >> 24) | ((word >> 8) & 0xFF00u) | ((word << 8) & 0xFF0000u) | (word << 24);
    }
    return word;
}

QUORVIX_ALWAYS_INLINE void StoreLittleEndian(std::uint32_t word, std::uint8_t* bytes) {
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<std::uint8_t>(word >> (8 * i));
    }
}

// Hands back value unchanged, but as a value the compiler must have in a register: it can no
// longer spread the sum that value came from over the additions that follow. Without this,
// Clang, and GCC when tuning for AMD Zen, fold the message word in after the round function,
// which puts one more operation on the critical path of every step (17 to 40% slower). The empty
// asm statement emits no instruction; other compilers simply go without the hint.
QUORVIX_ALWAYS_INLINE std::uint32_t Settled(std::uint32_t value) {
#if defined(__GNUC__) || defined(__clang__)
    __asm__("" : "+r"(value));
#endif
    return value;
}

// The round functions are written so that the term depending on b, the word produced by the
// step just before, comes last: a + x + k (and in the G and H rounds the part without b) is
// computed while b is still in flight, so each step costs only the operations that need b plus
// an addition, the rotation and the final addition. This keeps the chain of the 64 steps as
// short as the algorithm allows: 5 operations in rounds F and I, 4 in G and H.
template <int Shift>
QUORVIX_ALWAYS_INLINE std::uint32_t StepF(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                                          std::uint32_t d, std::uint32_t x, std::uint32_t k) {
    a = Settled(a + x + k);
    a += d ^ (b & (c ^ d));
    return b + std::rotl(a, Shift);
}

template <int Shift>
QUORVIX_ALWAYS_INLINE std::uint32_t StepG(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                                          std::uint32_t d, std::uint32_t x, std::uint32_t k) {
    // (b & d) | (c & ~d): the two halves never have a bit in common, so they may be added, and
    // the half without b joins the early sum.
    a = Settled(a + x + k + (c & ~d));
    a += b & d;
    return b + std::rotl(a, Shift);
}

template <int Shift>
QUORVIX_ALWAYS_INLINE std::uint32_t StepH(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                                          std::uint32_t d, std::uint32_t x, std::uint32_t k) {
    a = Settled(a + x + k);
    a += b ^ Settled(c ^ d);
    return b + std::rotl(a, Shift);
}

template <int Shift>
QUORVIX_ALWAYS_INLINE std::uint32_t StepI(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                                          std::uint32_t d, std::uint32_t x, std::uint32_t k) {
    a = Settled(a + x + k);
    a += c ^ (b | ~d);
    return b + std::rotl(a, Shift);
}

// Sets count elements at memory to zero with volatile stores, which the compiler must keep even
// where it can see that nothing reads the memory again (a local about to go out of scope).
template <typename Element> void Wipe(Element* memory, std::size_t count) {
    volatile Element* elements = memory;
    for (std::size_t i = 0; i < count; ++i) {
        elements[i] = 0;
    }
}

// One compression of RFC 1321 over the 64 bytes at block: the chaining values come in and go
// out in chainA to chainD, and x is the work area the block's sixteen words are read into.
QUORVIX_ALWAYS_INLINE void TransformBlock(std::uint32_t& chainA, std::uint32_t& chainB,
                                          std::uint32_t& chainC, std::uint32_t& chainD,
                                          std::uint32_t x[16], const std::uint8_t* block) {
    for (int i = 0; i < 16; ++i) {
        x[i] = LoadLittleEndian(block + 4 * i);
    }
    std::uint32_t a = chainA;
    std::uint32_t b = chainB;
    std::uint32_t c = chainC;
    std::uint32_t d = chainD;

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

    chainA += a;
    chainB += b;
    chainC += c;
    chainD += d;
}

} // namespace

// Kept out of line so the hot loop is one tight function. The chaining values stay in registers
// from block to block, and the one work area serves every block and is wiped once at the end.
void TransformBlocks(std::uint32_t state[4], const std::uint8_t* blocks, std::size_t count) {
    std::uint32_t x[16];
    std::uint32_t a = state[0];
    std::uint32_t b = state[1];
    std::uint32_t c = state[2];
    std::uint32_t d = state[3];
    for (std::size_t i = 0; i < count; ++i) {
        TransformBlock(a, b, c, d, x, blocks + 64 * i);
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;

    // No message words are left behind on the stack once the blocks are done.
    Wipe(x, 16);
}

void DigestInit(Md5Context& context) {
    std::memset(&context, 0, sizeof context);
    context.State[0] = 0x67452301;
    context.State[1] = 0xefcdab89;
    context.State[2] = 0x98badcfe;
    context.State[3] = 0x10325476;
}

void DigestUpdate(Md5Context& context, const void* input, std::uint32_t length) {
    if (length == 0) {
        return;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(input);
    const std::uint32_t index = (context.BitCount[0] >> 3) % 64;

    const std::uint32_t addedBits = length << 3;
    context.BitCount[0] += addedBits;
    if (context.BitCount[0] < addedBits) {
        ++context.BitCount[1];
    }
    context.BitCount[1] += length >> 29;

    const std::uint32_t room = 64 - index;
    std::uint32_t i = 0;
    if (length >= room) {
        std::memcpy(context.Buffer + index, bytes, room);
        TransformBlocks(context.State, context.Buffer, 1);
        i = room;
        const std::uint32_t wholeBlocks = (length - i) / 64;
        TransformBlocks(context.State, bytes + i, wholeBlocks);
        i += wholeBlocks * 64;
        std::memcpy(context.Buffer, bytes + i, length - i);
    } else {
        std::memcpy(context.Buffer + index, bytes, length);
    }
}

Md5Digest DigestFinal(Md5Context& context) {
    std::uint8_t bitCount[8];
    StoreLittleEndian(context.BitCount[0], bitCount);
    StoreLittleEndian(context.BitCount[1], bitCount + 4);

    const std::uint32_t index = (context.BitCount[0] >> 3) % 64;
    const std::uint32_t padLength = index < 56 ? 56 - index : 120 - index;
    DigestUpdate(context, PadBlock, padLength);
    DigestUpdate(context, bitCount, sizeof bitCount);

    Md5Digest digest;
    for (int i = 0; i < 4; ++i) {
        StoreLittleEndian(context.State[i], digest.bytes.data() + 4 * i);
    }
    // The context is cleared also where it is a local about to go out of scope.
    Wipe(reinterpret_cast<std::uint8_t*>(&context), sizeof context);
    return digest;
}

Md5Digest DigestOfBuffer(const void* input, std::uint32_t length) {
    Md5Context context;
    DigestInit(context);
    DigestUpdate(context, input, length);
    return DigestFinal(context);
}

std::string DigestToHex(const Md5Digest& digest) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(2 * digest.bytes.size());
    for (const std::uint8_t byte : digest.bytes) {
        text.push_back(Digits[byte >> 4]);
        text.push_back(Digits[byte & 0x0F]);
    }
    return text;
}

} // namespace quorvix
