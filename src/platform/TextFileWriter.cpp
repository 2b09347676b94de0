#include "platform/TextFileWriter.h"

#include "platform/FileErrors.h"
#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <random>

namespace quorvix {
namespace {

constexpr std::size_t FlushThreshold = 64 * 1024;

std::string RandomSuffix() {
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device source;
    std::uniform_int_distribution<int> pick(0, sizeof Letters - 2);
    std::string suffix;
    for (int i = 0; i < 8; ++i) {
        suffix.push_back(Letters[pick(source)]);
    }
    return suffix;
}

} // namespace

TextFileWriter::TextFileWriter(std::string targetPath) : targetPath_(std::move(targetPath)) {
    const auto slash = targetPath_.rfind(PathSeparator);
    const std::string folder = slash == std::string::npos ? "" : targetPath_.substr(0, slash + 1);
    const std::string name =
        slash == std::string::npos ? targetPath_ : targetPath_.substr(slash + 1);

    // A hidden name in the same folder: the rename that replaces the target stays on one file
    // system, and a half-written file never carries the target's name.
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporaryPath_ = folder + "." + name + ".tmp-" + RandomSuffix();
        fd_ = FileDescriptor(::open(temporaryPath_.c_str(),
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
    // Replacing a file keeps the permissions it had.
    struct stat existing {};
    if (::stat(targetPath_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        ::fchmod(fd_.Get(), existing.st_mode & 07777);
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
        const ssize_t written = ::write(fd_.Get(), pending_.data() + done, pending_.size() - done);
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
    if (::fsync(fd_.Get()) != 0 && errno != EINVAL) {
        Fail("Cannot write file", errno);
    }
    if (fd_.Close() != 0) {
        Fail("Cannot write file", errno);
    }
    if (::rename(temporaryPath_.c_str(), targetPath_.c_str()) != 0) {
        Fail("Cannot replace file", errno);
    }
    committed_ = true;
}

void TextFileWriter::Fail(const std::string& what, int errorNumber) const {
    throw InputOutputError(what + " \"" + targetPath_ + "\". " + SystemErrorText(errorNumber));
}

} // namespace quorvix
