#include "platform/LegacyEncoding.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>

// Windows converts with its own code pages (MultiByteToWideChar) instead of iconv, so the iconv
// names the option takes are mapped to code page numbers here.

namespace quorvix {
namespace {

std::string UpperCase(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

// The code page of an iconv encoding name, or 0 when there is none.
UINT CodePageOf(const std::string& encodingName) {
    static const std::map<std::string, UINT> named = {
        {"UTF-8", CP_UTF8},  {"UTF8", CP_UTF8},  {"GB18030", 54936}, {"GBK", 936},
        {"GB2312", 936},     {"EUC-CN", 936},    {"BIG5", 950},      {"BIG-5", 950},
        {"BIG5-HKSCS", 950}, {"SHIFT_JIS", 932}, {"SHIFT-JIS", 932}, {"SJIS", 932},
        {"EUC-JP", 20932},   {"EUC-KR", 949},    {"UHC", 949},       {"KOI8-R", 20866},
        {"KOI8-U", 21866},   {"LATIN1", 28591},  {"ASCII", 20127},   {"US-ASCII", 20127},
    };
    const std::string name = UpperCase(encodingName);
    if (const auto found = named.find(name); found != named.end()) {
        return found->second;
    }
    // CP1252, WINDOWS-1252, ISO-8859-2, ISO8859-2 and the like.
    const auto numberAfter = [&name](std::string_view prefix, UINT base) -> UINT {
        if (!name.starts_with(prefix) || name.size() == prefix.size()) {
            return 0;
        }
        char* end = nullptr;
        const unsigned long number = std::strtoul(name.c_str() + prefix.size(), &end, 10);
        return *end == '\0' && number > 0 && number < 65536 ? base + static_cast<UINT>(number) : 0;
    };
    for (const auto& [prefix, base] : {std::pair<std::string_view, UINT>{"CP", 0},
                                       {"WINDOWS-", 0},
                                       {"ISO-8859-", 28590},
                                       {"ISO8859-", 28590}}) {
        if (const UINT codePage = numberAfter(prefix, base); codePage != 0) {
            return codePage;
        }
    }
    return 0;
}

UINT CodePage(void* converter) {
    return static_cast<UINT>(reinterpret_cast<std::uintptr_t>(converter));
}

} // namespace

UnknownEncodingError::UnknownEncodingError(const std::string& encodingName)
    : std::invalid_argument("unknown legacy encoding \"" + encodingName +
                            "\"; give an iconv name such as GB18030, SHIFT_JIS or CP1252") {}

LegacyDecoder::LegacyDecoder(const std::string& encodingName)
    : encodingName_(encodingName),
      converter_(reinterpret_cast<void*>(std::uintptr_t{CodePageOf(encodingName)})) {
    UINT codePage = CodePage(converter_);
    // A system without GB18030 (Wine has none) reads GBK, its two-byte part, which is what
    // Chinese-language Windows writes.
    if (codePage == 54936 && !::IsValidCodePage(codePage)) {
        codePage = 936;
        converter_ = reinterpret_cast<void*>(std::uintptr_t{codePage});
    }
    if (codePage == 0 || !::IsValidCodePage(codePage)) {
        throw UnknownEncodingError(encodingName);
    }
}

LegacyDecoder::~LegacyDecoder() = default;

std::optional<std::string> LegacyDecoder::ToUtf8(std::string_view text) const {
    if (text.empty()) {
        return std::string();
    }
    const UINT codePage = CodePage(converter_);
    const int length = static_cast<int>(text.size());
    // Some code pages refuse the check for invalid bytes; they are converted without it.
    DWORD flags = MB_ERR_INVALID_CHARS;
    int wideLength = ::MultiByteToWideChar(codePage, flags, text.data(), length, nullptr, 0);
    if (wideLength == 0 && ::GetLastError() == ERROR_INVALID_FLAGS) {
        flags = 0;
        wideLength = ::MultiByteToWideChar(codePage, flags, text.data(), length, nullptr, 0);
    }
    if (wideLength == 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(codePage, flags, text.data(), length, wide.data(), wideLength);
    const int utf8Length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(utf8Length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, result.data(), utf8Length, nullptr,
                          nullptr);
    return result;
}

} // namespace quorvix
