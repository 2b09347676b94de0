#include "platform/OpenProbe.h"

#include "platform/NativeHandle.h"

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
    const NativeHandle handle(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    return handle.IsOpen() && ::fstat(static_cast<int>(handle.Get()), &info) == 0 &&
           S_ISREG(info.st_mode);
}

} // namespace quorvix
