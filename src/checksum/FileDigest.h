// Digests of named files, as the workflows use them.
#pragma once

#include "md5/Md5.h"
#include "platform/FileStream.h"

#include <string>

namespace quorvix {

// Opens an existing regular file for reading, digests it whole and closes it. Throws
// FileOpenError when it cannot be opened and InputOutputError when reading fails or the file's
// size changed while it was read.
Md5Digest DigestOfFile(const std::string& path, const FileReadProgress& progress = {});

// DigestToHex of DigestOfFile: 32 upper-case hexadecimal digits. Fails as DigestOfFile does.
std::string FileDigestText(const std::string& path, const FileReadProgress& progress = {});

// The text with the ASCII letters A to Z lower-cased and every other byte unchanged.
std::string LowerCaseAscii(std::string text);

} // namespace quorvix
