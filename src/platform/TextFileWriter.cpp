#include "platform/TextFileWriter.h"

#include "platform/FileErrors.h"
#include "platform/FileSystem.h"
#include "platform/InterruptCleanup.h"
#include "platform/TemporaryFileName.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace quorvix {
namespace {

constexpr std::size_t FlushThreshold = 64 * 1024;

} // namespace

namespace {

// The file a path finally names once symbolic links are followed; the path itself when it is no
// link or the links form a loop (the open then reports the loop).
std::string FinalTarget(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        std::string link(static_cast<std::size_t>(info.st_size) + 1, '\0');
        const ssize_t length = ::readlink(current.c_str(), link.data(), link.size());
        if (length < 0 || static_cast<std::size_t>(length) >= link.size()) {
            return current;
        }
        link.resize(static_cast<std::size_t>(length));
        const auto slash = current.rfind(PathSeparator);
        current = link.front() == PathSeparator || slash == std::string::npos
                      ? link
                      : current.substr(0, slash + 1) + link;
    }
    return path;
}

} // namespace

TextFileWriter::TextFileWriter(std::string targetPath) : targetPath_(std::move(targetPath)) {
    // A symbolic link is followed and the file it names replaced, the link kept, as editors do.
    replacedPath_ = FinalTarget(targetPath_);
    struct stat existing {};
    const bool exists = ::stat(replacedPath_.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        Fail("Cannot create file", EISDIR);
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        // A device or a FIFO is written in place: replacing it would destroy it (think of
        // /dev/null). Non-blocking, so a FIFO nobody reads fails at once instead of hanging.
        fd_ = NativeHandle(
            ::open(replacedPath_.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!fd_.IsOpen()) {
            Fail("Cannot write file", errno);
        }
        const int fd = static_cast<int>(fd_.Get());
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1) {
            Fail("Cannot write file", errno);
        }
        return;
    }
    // Writing in place would be refused, so replacing is refused too: a read-only file stays.
    if (exists && ::access(replacedPath_.c_str(), W_OK) != 0) {
        Fail("Cannot write file", errno);
    }

    const auto slash = replacedPath_.rfind(PathSeparator);
    const std::string folder = slash == std::string::npos ? "" : replacedPath_.substr(0, slash + 1);
    const std::string name =
        slash == std::string::npos ? replacedPath_ : replacedPath_.substr(slash + 1);

    // A hidden name in the same folder: the rename that replaces the target stays on one file
    // system, and a half-written file never carries the target's name.
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporaryPath_ = folder + TemporaryFileName(name);
        fd_ = NativeHandle(::open(temporaryPath_.c_str(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666));
        if (fd_.IsOpen() || errno != EEXIST) {
            break;
        }
    }
    if (!fd_.IsOpen()) {
        const int error = errno;
        temporaryPath_.clear();
        Fail("Cannot create file", error);
    }
    cleanup_ = std::make_unique<InterruptCleanupEntry>(temporaryPath_.c_str());
    // Replacing a file keeps the permissions it had.
    if (exists) {
        ::fchmod(static_cast<int>(fd_.Get()), existing.st_mode & 07777);
    }
}

TextFileWriter::~TextFileWriter() {
    if (!committed_ && !temporaryPath_.empty()) {
        fd_.Close();
        ::unlink(temporaryPath_.c_str());
    }
}

void TextFileWriter::WriteLine(std::string_view text) {
    pending_.append(text);
    pending_.append("\r\n");
    if (pending_.size() >= FlushThreshold) {
        Flush();
    }
}

void TextFileWriter::Flush() {
    std::size_t done = 0;
    while (done < pending_.size()) {
        const ssize_t written =
            ::write(static_cast<int>(fd_.Get()), pending_.data() + done, pending_.size() - done);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            // What reached the file is not written twice should the caller try again.
            pending_.erase(0, done);
            Fail("Cannot write file", error);
        }
        done += static_cast<std::size_t>(written);
    }
    pending_.clear();
}

void TextFileWriter::Commit() {
    Flush();
    if (::fsync(static_cast<int>(fd_.Get())) != 0 && errno != EINVAL) {
        Fail("Cannot write file", errno);
    }
    if (const int error = fd_.Close(); error != 0) {
        Fail("Cannot write file", error);
    }
    if (temporaryPath_.empty()) {
        committed_ = true; // written in place
        return;
    }
    if (::rename(temporaryPath_.c_str(), replacedPath_.c_str()) != 0) {
        Fail("Cannot replace file", errno);
    }
    committed_ = true;
    cleanup_.reset();
}

void TextFileWriter::Fail(const std::string& what, int errorNumber) const {
    throw InputOutputError(what + " \"" + targetPath_ + "\". " + SystemErrorText(errorNumber));
}

} // namespace quorvix
