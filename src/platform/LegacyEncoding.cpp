#include "platform/LegacyEncoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>

namespace quorvix {
namespace {

const iconv_t NoConverter = reinterpret_cast<iconv_t>(-1);

iconv_t Converter(void* converter) {
    return static_cast<iconv_t>(converter);
}

} // namespace

UnknownEncodingError::UnknownEncodingError(const std::string& encodingName)
    : std::invalid_argument("unknown legacy encoding \"" + encodingName +
                            "\"; `iconv -l` lists the names this system knows") {}

LegacyDecoder::LegacyDecoder(const std::string& encodingName)
    : encodingName_(encodingName), converter_(::iconv_open("UTF-8", encodingName.c_str())) {
    if (converter_ == NoConverter) {
        throw UnknownEncodingError(encodingName);
    }
}

LegacyDecoder::~LegacyDecoder() {
    ::iconv_close(Converter(converter_));
}

std::optional<std::string> LegacyDecoder::ToUtf8(std::string_view text) const {
    // Back to the initial shift state, in case an earlier text ended in the middle of one.
    ::iconv(Converter(converter_), nullptr, nullptr, nullptr, nullptr);

    std::string result;
    // Four UTF-8 bytes per input byte cover every legacy encoding; the loop grows it if not.
    result.resize(text.size() * 4 + 16);
    // iconv's interface takes a non-const input pointer but never writes through it.
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    std::size_t produced = 0;
    for (;;) {
        char* out = result.data() + produced;
        std::size_t outLeft = result.size() - produced;
        const std::size_t status = ::iconv(Converter(converter_), &in, &inLeft, &out, &outLeft);
        produced = result.size() - outLeft;
        if (status != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno != E2BIG) {
            return std::nullopt; // EILSEQ: undefined sequence; EINVAL: cut off at the end
        }
        result.resize(result.size() * 2);
    }
    // Flush whatever a stateful encoding still holds back.
    char* out = result.data() + produced;
    std::size_t outLeft = result.size() - produced;
    if (::iconv(Converter(converter_), nullptr, nullptr, &out, &outLeft) ==
        static_cast<std::size_t>(-1)) {
        return std::nullopt;
    }
    result.resize(result.size() - outLeft);
    return result;
}

} // namespace quorvix
