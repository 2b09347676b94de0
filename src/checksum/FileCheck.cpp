#include "checksum/FileCheck.h"

#include "md5/Md5.h"
#include "platform/FileDescriptor.h"
#include "platform/FileErrors.h"
#include "platform/FileSystem.h"
#include "platform/OpenProbe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace quorvix {

FileChecker::FileChecker(const JobHooks& hooks) : hooks_(hooks) {}

FileCheckResult FileChecker::Check(const std::string& path) {
    // The system would read such a path only up to its NUL and so find some other file.
    if (path.find('\0') != std::string::npos) {
        return {FileCheckOutcome::Missing, {}};
    }
    return hooks_.fileDigestText ? CheckWithHooks(path) : CheckWithOneOpen(path);
}

FileCheckResult FileChecker::CheckWithHooks(const std::string& path) {
    if (!FileExists(path)) {
        return {FileCheckOutcome::Missing, {}};
    }
    if (!OpenProbe(path)) {
        return {FileCheckOutcome::Unreadable, {}};
    }
    try {
        return {FileCheckOutcome::Digested, hooks_.DigestText(path)};
    } catch (const FileOpenError&) {
        // It passed the probe but could not be read after all (it vanished, lost its
        // permissions or failed on disk).
    } catch (const InputOutputError&) {
    }
    return {FileCheckOutcome::Unreadable, {}};
}

FileCheckResult FileChecker::CheckWithOneOpen(const std::string& path) {
    // Looking before opening keeps devices from being opened at all: opening can have effects
    // on them (a tape rewinds). The same look is the existence test.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
        return {FileCheckOutcome::Missing, {}};
    }
    if (!S_ISREG(info.st_mode)) {
        return {FileCheckOutcome::Unreadable, {}};
    }
    // Non-blocking, so that a file swapped for a FIFO in the meantime cannot hang the open.
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.IsOpen() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return {FileCheckOutcome::Unreadable, {}};
    }

    if (!buffer_) {
        buffer_ = std::make_unique_for_overwrite<std::uint8_t[]>(BufferSize);
    }
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size > BufferSize) {
        ::posix_fadvise(fd.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    // Read to the end, stopping early once the size the file had when it was opened has been
    // read, exactly as the stream digest does; files that report no size (such as those of
    // /proc) are read to their end.
    Md5Context context;
    DigestInit(context);
    std::uint64_t total = 0;
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer_.get(), BufferSize);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            // A read error after a passed probe: unreadable, never a silently short digest.
            return {FileCheckOutcome::Unreadable, {}};
        }
        if (got == 0) {
            break;
        }
        DigestUpdate(context, buffer_.get(), static_cast<std::uint32_t>(got));
        total += static_cast<std::uint64_t>(got);
        if (total == size) {
            break;
        }
    }
    return {FileCheckOutcome::Digested, DigestToHex(DigestFinal(context))};
}

} // namespace quorvix
