// The MD5 digest engine (RFC 1321): memory blocks, streams and hexadecimal text.
// Nothing here touches the operating system or the heap; a context lives wherever the caller
// puts it, and every digest runs on a context of its own.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace quorvix {

// The 16 bytes of an MD5 result: the state words A, B, C, D, each low byte first.
struct Md5Digest {
    std::array<std::uint8_t, 16> bytes{};

    friend bool operator==(const Md5Digest&, const Md5Digest&) = default;
};

// The running state of one digest. The number of valid bytes in Buffer is always
// (BitCount[0] / 8) % 64; they sit at its start, and the bytes behind them are never read.
struct Md5Context {
    std::uint32_t State[4];    // chaining values A, B, C, D
    std::uint32_t BitCount[2]; // message length in bits modulo 2^64, low word first
    std::uint8_t Buffer[64];   // bytes of the current block not yet transformed
};

// Clears every byte of the context, then loads the initial chaining values. Cannot fail.
void DigestInit(Md5Context& context);

// Feeds length bytes at input (which may be null when length is 0). Whole 64-byte blocks of the
// input are transformed where they lie; only a leading or trailing part goes through Buffer.
// Feeding a message in pieces gives the same digest as feeding it whole. Cannot fail.
void DigestUpdate(Md5Context& context, const void* input, std::uint32_t length);

// Pads the message, emits its digest and then zeroes the whole context, which must be
// initialised again before any further use. Cannot fail.
Md5Digest DigestFinal(Md5Context& context);

// The digest of one memory block. Cannot fail.
Md5Digest DigestOfBuffer(const void* input, std::uint32_t length);

// 32 upper-case hexadecimal digits, two per digest byte in byte order, high nibble first.
std::string DigestToHex(const Md5Digest& digest);

} // namespace quorvix
