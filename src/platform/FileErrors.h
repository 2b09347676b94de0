// The failures of the platform layer. Their messages are what a user reads in an error box or
// on standard error, so they name the file and the system's reason.
#pragma once

#include <stdexcept>
#include <string>

namespace quorvix {

// A file could not be opened: "Cannot open file \"<path>\". <system's reason>".
class FileOpenError : public std::runtime_error {
public:
    FileOpenError(const std::string& path, const std::string& reason);
};

// A folder could not be opened or listed: "Could not open folder \"<path>\". <system's reason>".
class FolderOpenError : public std::runtime_error {
public:
    FolderOpenError(const std::string& path, const std::string& reason);
};

// Reading, writing, creating or closing a file failed; the message is the system's reason,
// with the file named where one is concerned.
class InputOutputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The system's text for an errno value, such as "Permission denied".
std::string SystemErrorText(int errorNumber);

} // namespace quorvix
