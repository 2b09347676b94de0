#include "platform/OpenProbe.h"

#include "platform/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace quorvix {

bool OpenProbe(const std::string& path) {
    struct stat info {};
    // Looking first keeps the probe from opening devices at all; opening can have effects on them.
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    // Non-blocking, so that a file swapped for a FIFO in the meantime cannot hang the probe.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.IsOpen()) {
        return false;
    }
    return ::fstat(fd.Get(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace quorvix
