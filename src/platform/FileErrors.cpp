#include "platform/FileErrors.h"

#include <system_error>

namespace quorvix {

FileOpenError::FileOpenError(const std::string& path, const std::string& reason)
    : std::runtime_error("Cannot open file \"" + path + "\". " + reason) {}

FolderOpenError::FolderOpenError(const std::string& path, const std::string& reason)
    : std::runtime_error("Could not open folder \"" + path + "\". " + reason) {}

std::string SystemErrorText(int errorNumber) {
    return std::generic_category().message(errorNumber);
}

} // namespace quorvix
