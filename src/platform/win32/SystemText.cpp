#include "platform/win32/SystemText.h"

#include "platform/PathText.h"

#include <windows.h>

#include <memory>

namespace quorvix::win32 {
namespace {

// Below the classic MAX_PATH of 260, with room for the 8.3 name the system may append when it
// creates a file in a folder of this length (CreateDirectoryW allows only 248).
constexpr std::size_t LongPathFrom = 240;

std::wstring Widen(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int needed = ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), needed);
    return wide;
}

struct LocalFreer {
    void operator()(wchar_t* text) const { ::LocalFree(text); }
};

} // namespace

std::wstring SystemPath(std::string_view path) {
    std::wstring wide = Widen(path);
    if (wide.size() < LongPathFrom || wide.starts_with(L"\\\\?\\") ||
        wide.starts_with(L"\\\\.\\")) {
        return wide;
    }
    // "\\?\" turns off the system's own tidying of the path, so it is done here first: the
    // full path with '/' read as '\', and "." and ".." steps resolved.
    const DWORD needed = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return wide;
    }
    std::wstring full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) {
        return wide;
    }
    full.resize(length);
    if (full.starts_with(L"\\\\")) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

std::string AnsiText(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int needed =
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(needed), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, narrow.data(), needed, nullptr, nullptr);
    return narrow;
}

std::string ErrorText(unsigned long errorCode) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, errorCode, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalFreer> owned(buffer);
    if (length == 0) {
        return "System error " + std::to_string(errorCode);
    }
    std::wstring_view text(buffer, length);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
        text.remove_suffix(1);
    }
    return AnsiText(text);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    const bool bareDrive = folder.size() == 2 && folder[1] == ':';
    if (folder.empty() || bareDrive || EndsWithPathSeparator(folder)) {
        return folder + name;
    }
    return folder + '\\' + name;
}

} // namespace quorvix::win32
