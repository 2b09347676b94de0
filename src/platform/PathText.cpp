#include "platform/PathText.h"

#include "platform/FileSystem.h"

namespace quorvix {

std::size_t FolderPartLength(std::string_view path) {
    const auto separator = path.rfind(PathSeparator);
    return separator == std::string_view::npos ? 0 : separator + 1;
}

bool EndsWithPathSeparator(std::string_view path) {
    return !path.empty() && path.back() == PathSeparator;
}

} // namespace quorvix
