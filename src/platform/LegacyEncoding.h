// Text in a legacy code page (the "ANSI" code page of a Windows system, such as GB18030 on a
// Chinese-language one) turned into UTF-8, the encoding of file names here.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quorvix {

// The code page of the check files that most often carry non-UTF-8 names: Chinese-language
// Windows writes GBK, of which GB18030 is the superset.
inline constexpr const char* DefaultLegacyEncoding = "GB18030";

// True when text is well-formed UTF-8: no stray continuation byte, no truncated or overlong
// sequence, no UTF-16 surrogate, nothing above U+10FFFF. The empty text is valid. Cannot fail.
bool IsValidUtf8(std::string_view text);

// The encoding name given to LegacyDecoder is not one the system's converter knows.
class UnknownEncodingError : public std::invalid_argument {
public:
    explicit UnknownEncodingError(const std::string& encodingName);
};

// Converts text from one legacy encoding to UTF-8. One object converts one text at a time; it is
// not meant to be shared between threads.
class LegacyDecoder {
public:
    // Prepares the conversion from encodingName, an iconv name such as "GB18030", "CP1252" or
    // "SHIFT_JIS" (any case). Throws UnknownEncodingError when the system knows no such encoding.
    explicit LegacyDecoder(const std::string& encodingName);
    LegacyDecoder(const LegacyDecoder&) = delete;
    LegacyDecoder& operator=(const LegacyDecoder&) = delete;
    ~LegacyDecoder();

    // The UTF-8 form of text, or nothing when text is not valid in the encoding (a byte sequence
    // it does not define, or one cut off at the end). Cannot fail otherwise.
    std::optional<std::string> ToUtf8(std::string_view text) const;

    // The name the decoder was made with. Cannot fail.
    const std::string& EncodingName() const { return encodingName_; }

private:
    std::string encodingName_;
    void* converter_; // the system's converter (iconv_t), owned
};

} // namespace quorvix
