#include "platform/TextFileWriter.h"

#include "platform/FileErrors.h"
#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

namespace quorvix {
namespace {

constexpr std::size_t FlushThreshold = 64 * 1024;
constexpr std::string_view TemporaryMark = ".tmp-";
constexpr std::size_t SuffixLength = 8;
constexpr std::string_view SuffixLetters = "abcdefghijklmnopqrstuvwxyz0123456789";

std::string RandomSuffix() {
    std::random_device source;
    std::uniform_int_distribution<std::size_t> pick(0, SuffixLetters.size() - 1);
    std::string suffix;
    for (std::size_t i = 0; i < SuffixLength; ++i) {
        suffix.push_back(SuffixLetters[pick(source)]);
    }
    return suffix;
}

} // namespace

bool IsTemporaryFileName(std::string_view name, std::string_view targetName) {
    const std::size_t stem = 1 + targetName.size() + TemporaryMark.size();
    if (name.size() != stem + SuffixLength || name.front() != '.' ||
        name.substr(1, targetName.size()) != targetName ||
        name.substr(1 + targetName.size(), TemporaryMark.size()) != TemporaryMark) {
        return false;
    }
    return name.substr(stem).find_first_not_of(SuffixLetters) == std::string_view::npos;
}

TextFileWriter::TextFileWriter(std::string targetPath) : targetPath_(std::move(targetPath)) {
    const auto slash = targetPath_.rfind(PathSeparator);
    const std::string folder = slash == std::string::npos ? "" : targetPath_.substr(0, slash + 1);
    const std::string name =
        slash == std::string::npos ? targetPath_ : targetPath_.substr(slash + 1);

    // A hidden name in the same folder: the rename that replaces the target stays on one file
    // system, and a half-written file never carries the target's name.
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporaryPath_ = folder + "." + name + std::string(TemporaryMark) + RandomSuffix();
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
    // Replacing a file keeps the permissions it had.
    struct stat existing {};
    if (::stat(targetPath_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
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
    if (::rename(temporaryPath_.c_str(), targetPath_.c_str()) != 0) {
        Fail("Cannot replace file", errno);
    }
    committed_ = true;
}

void TextFileWriter::Fail(const std::string& what, int errorNumber) const {
    throw InputOutputError(what + " \"" + targetPath_ + "\". " + SystemErrorText(errorNumber));
}

} // namespace quorvix
