#include "platform/LegacyEncoding.h"

namespace quorvix {
namespace {

// The number of continuation bytes that follow a lead byte, or -1 when it cannot lead.
int ContinuationBytes(unsigned char lead) {
    if (lead < 0x80) {
        return 0;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 1;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 2;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 3;
    }
    return -1; // a continuation byte, an overlong two-byte lead (C0, C1) or beyond U+10FFFF
}

} // namespace

bool IsValidUtf8(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        const unsigned char lead = bytes[i];
        const int following = ContinuationBytes(lead);
        if (following < 0 || size - i - 1 < static_cast<std::size_t>(following)) {
            return false;
        }
        for (int k = 1; k <= following; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80) {
                return false;
            }
        }
        if (following >= 2) {
            // The second byte's range rules out overlong forms (E0, F0), surrogates (ED) and
            // code points above U+10FFFF (F4).
            const unsigned char second = bytes[i + 1];
            if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
                (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
                return false;
            }
        }
        i += static_cast<std::size_t>(following) + 1;
    }
    return true;
}

} // namespace quorvix
