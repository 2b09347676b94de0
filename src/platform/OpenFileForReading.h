#pragma once

#include "platform/FileDescriptor.h"

#include <cstdint>
#include <string>

namespace quorvix {

struct OpenedFile {
    FileDescriptor fd;
    std::uint64_t size = 0; // the size when opened; 0 for a pipe
    bool isRegular = false;
};

// Opens an existing regular file (or, with acceptPipes, a FIFO) for reading. The open itself
// never blocks, so a FIFO without a writer cannot hang it; a pipe is then switched back to
// blocking reads. Throws FileOpenError naming the path when it does not exist, may not be read,
// is a folder, or is another kind of file (a device could yield data without end).
OpenedFile OpenFileForReading(const std::string& path, bool acceptPipes);

} // namespace quorvix
