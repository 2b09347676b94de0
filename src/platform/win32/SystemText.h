// Paths and messages between the ANSI code page bytes the program keeps and the UTF-16 text the
// Windows ...W functions take. Private to the Windows platform layer.
#pragma once

#include <string>
#include <string_view>

namespace quorvix::win32 {

// The path as the ...W functions take it: its ANSI code page bytes as UTF-16. A path too long for
// the classic limit of 260 characters is made absolute and given the "\\?\" prefix, which lifts
// the limit. Cannot fail: bytes that are no character of the code page become its default
// character, and the system then reports the path as not found.
std::wstring SystemPath(std::string_view path);

// UTF-16 text from the system as ANSI code page bytes; a character that the code page lacks
// becomes its default character ('?'). Cannot fail.
std::string AnsiText(std::wstring_view text);

// The system's text for a Win32 error code (GetLastError), without its final line end, in the
// ANSI code page, such as "The system cannot find the file specified.". Cannot fail.
std::string ErrorText(unsigned long errorCode);

// The path of the entry called name inside folder: joined with one '\', or with none when
// folder already ends with a separator or is a bare drive ("C:"). Cannot fail.
std::string JoinPath(const std::string& folder, const std::string& name);

} // namespace quorvix::win32
