// Where a path's folder part ends, as this platform reads paths.
#pragma once

#include <cstddef>
#include <string_view>

namespace quorvix {

// The length of the folder part of path: everything up to and including its last separator or,
// on Windows, its drive's colon ("C:" in "C:list.md5"), whichever stands later; 0 when it has
// neither. Windows takes '\' and '/' as separators, and never the second byte of a double-byte
// character of the ANSI code page. Cannot fail.
std::size_t FolderPartLength(std::string_view path);

// True when the last character of path is a separator, as FolderPartLength reads separators.
// Cannot fail.
bool EndsWithPathSeparator(std::string_view path);

} // namespace quorvix
