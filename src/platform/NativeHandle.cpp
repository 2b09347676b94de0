#include "platform/NativeHandle.h"

#include <unistd.h>

#include <cerrno>

namespace quorvix {

int NativeHandle::Close() {
    if (value_ == Invalid) {
        return 0;
    }
    const int fd = static_cast<int>(std::exchange(value_, Invalid));
    // A close interrupted by a signal has still released the descriptor on Linux; retrying
    // could close a descriptor another thread has just been given.
    return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
}

} // namespace quorvix
