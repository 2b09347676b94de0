#include "platform/PathText.h"

#include <windows.h>

namespace quorvix {
namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// Calls visit(position, byte) for every byte that starts a character of the ANSI code page, so
// that the second byte of a double-byte character (0x5C, '\', in many of them) is never seen.
template <typename Visit> void ForEachCharacter(std::string_view path, Visit visit) {
    for (std::size_t i = 0; i < path.size(); ++i) {
        visit(i, path[i]);
        if (::IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
            ++i;
        }
    }
}

} // namespace

std::size_t FolderPartLength(std::string_view path) {
    std::size_t length = 0;
    ForEachCharacter(path, [&length](std::size_t position, char c) {
        if (IsSeparator(c) || c == ':') {
            length = position + 1;
        }
    });
    return length;
}

bool EndsWithPathSeparator(std::string_view path) {
    bool endsWithSeparator = false;
    ForEachCharacter(path, [&endsWithSeparator, &path](std::size_t position, char c) {
        endsWithSeparator = position + 1 == path.size() && IsSeparator(c);
    });
    return endsWithSeparator;
}

} // namespace quorvix
