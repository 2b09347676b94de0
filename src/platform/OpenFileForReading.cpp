#include "platform/OpenFileForReading.h"

#include "platform/FileErrors.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace quorvix {

OpenedFile OpenFileForReading(const std::string& path, bool acceptPipes) {
    OpenedFile file;
    file.fd = FileDescriptor(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.fd.IsOpen()) {
        throw FileOpenError(path, SystemErrorText(errno));
    }
    struct stat info {};
    if (::fstat(file.fd.Get(), &info) != 0) {
        throw FileOpenError(path, SystemErrorText(errno));
    }
    if (S_ISDIR(info.st_mode)) {
        throw FileOpenError(path, SystemErrorText(EISDIR));
    }
    file.isRegular = S_ISREG(info.st_mode);
    if (!file.isRegular && !(acceptPipes && S_ISFIFO(info.st_mode))) {
        throw FileOpenError(path, "Not a regular file");
    }
    if (!file.isRegular) {
        const int flags = ::fcntl(file.fd.Get(), F_GETFL);
        if (flags == -1 || ::fcntl(file.fd.Get(), F_SETFL, flags & ~O_NONBLOCK) == -1) {
            throw FileOpenError(path, SystemErrorText(errno));
        }
    }
    file.size = file.isRegular ? static_cast<std::uint64_t>(info.st_size) : 0;
    return file;
}

} // namespace quorvix
