#include "platform/ReadableFile.h"

#include "platform/FileErrors.h"
#include "platform/Folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace quorvix {
namespace {

int Descriptor(const NativeHandle& handle) {
    return static_cast<int>(handle.Get());
}

constexpr int ReadFlags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

} // namespace

ReadableFile::ReadableFile(const std::string& path, AcceptedInput accepted) : path_(path) {
    handle_ = NativeHandle(::open(path.c_str(), ReadFlags));
    FinishOpen(accepted);
}

ReadableFile::ReadableFile(const std::string& path, SeenRegularFile seen) : path_(path) {
    handle_ = NativeHandle(::open(path.c_str(), ReadFlags));
    if (!handle_.IsOpen()) {
        throw FileOpenError(path, SystemErrorText(errno));
    }
    regular_ = true;
    size_ = seen.size;
}

ReadableFile::ReadableFile(const Folder& folder, const std::string& name, std::string displayPath,
                           AcceptedInput accepted)
    : path_(std::move(displayPath)) {
    handle_ = NativeHandle(::openat(static_cast<int>(folder.Handle()), name.c_str(), ReadFlags));
    FinishOpen(accepted);
}

void ReadableFile::FinishOpen(AcceptedInput accepted) {
    const std::string& path = path_;
    if (!handle_.IsOpen()) {
        throw FileOpenError(path, SystemErrorText(errno));
    }
    const int fd = Descriptor(handle_);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        throw FileOpenError(path, SystemErrorText(errno));
    }
    if (S_ISDIR(info.st_mode)) {
        throw FileOpenError(path, SystemErrorText(EISDIR));
    }
    regular_ = S_ISREG(info.st_mode);
    const bool pipe = S_ISFIFO(info.st_mode) && accepted == AcceptedInput::RegularFilesAndPipes;
    if (!regular_ && !pipe) {
        throw FileOpenError(path, "Not a regular file");
    }
    if (pipe) {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1) {
            throw FileOpenError(path, SystemErrorText(errno));
        }
    }
    size_ = regular_ ? static_cast<std::uint64_t>(info.st_size) : 0;
}

std::size_t ReadableFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) {
    for (;;) {
        const ssize_t got = ::pread(Descriptor(handle_), buffer, count, static_cast<off_t>(offset));
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            FailRead(errno);
        }
    }
}

std::size_t ReadableFile::Read(void* buffer, std::size_t count) {
    for (;;) {
        const ssize_t got = ::read(Descriptor(handle_), buffer, count);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            FailRead(errno);
        }
    }
}

void ReadableFile::AdviseSequentialReading() {
    if (regular_) {
        ::posix_fadvise(Descriptor(handle_), 0, 0, POSIX_FADV_SEQUENTIAL);
    }
}

void ReadableFile::CheckSizeUnchanged() const {
    struct stat info {};
    if (::fstat(Descriptor(handle_), &info) != 0) {
        FailRead(errno);
    }
    if (static_cast<std::uint64_t>(info.st_size) != size_) {
        throw InputOutputError("Cannot read file \"" + path_ +
                               "\". It changed while it was being read");
    }
}

void ReadableFile::FailRead(int errorNumber) const {
    throw InputOutputError("Cannot read file \"" + path_ + "\". " + SystemErrorText(errorNumber));
}

} // namespace quorvix
