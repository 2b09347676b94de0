// Inputs and answers the engine's test suites share.
#pragma once

#include "md5/Md5.h"

#include <cstdint>
#include <random>
#include <vector>

namespace quorvix::test {

// The test suite of RFC 1321's appendix A.5: each message with its digest in upper case.
struct KnownAnswer {
    const char* message;
    const char* digest;
};
inline constexpr KnownAnswer Rfc1321Suite[] = {
    {"", "D41D8CD98F00B204E9800998ECF8427E"},
    {"a", "0CC175B9C0F1B6A831C399E269772661"},
    {"abc", "900150983CD24FB0D6963F7D28E17F72"},
    {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
    {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "D174AB98D277D9F5A5611C2C9F419D9F"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57EDF4A22BE3C955AC49DA2E2107B67A"},
};

// length bytes of a fixed pseudo-random sequence chosen by seed.
inline std::vector<std::uint8_t> RandomBytes(std::size_t length, std::uint32_t seed) {
    std::mt19937 generator(seed);
    std::vector<std::uint8_t> bytes(length);
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(generator());
    }
    return bytes;
}

// The digest of bytes, computed in memory.
inline Md5Digest DigestOf(const std::vector<std::uint8_t>& bytes) {
    return DigestOfBuffer(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

} // namespace quorvix::test
