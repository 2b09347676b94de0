#include "platform/TextFileWriter.h"

#include "platform/FileErrors.h"
#include "platform/PathText.h"
#include "platform/TemporaryFileName.h"
#include "platform/win32/SystemText.h"

#include <windows.h>

namespace quorvix {
namespace {

constexpr std::size_t FlushThreshold = 64 * 1024;
// What of the old file's attributes the new one takes over. Read-only is not among them: such a
// target is refused before anything is written.
constexpr DWORD KeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                 FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

HANDLE Win32Handle(const NativeHandle& handle) {
    return reinterpret_cast<HANDLE>(handle.Get());
}

} // namespace

// A symbolic link as the target is replaced itself, not the file it names: on Windows such links
// are rare and need privileges to make, and the rename that replaces the target works on the name.
TextFileWriter::TextFileWriter(std::string targetPath)
    : targetPath_(std::move(targetPath)), replacedPath_(targetPath_) {
    const std::wstring target = win32::SystemPath(replacedPath_);
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw InputOutputError("Cannot create file \"" + targetPath_ + "\". It is a folder");
    }
    // Writing in place would be refused, so replacing is refused too: a read-only file stays.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        Fail("Cannot write file", ERROR_ACCESS_DENIED);
    }
    // Opening an existing target for writing, without changing it, tells a device (NUL, a
    // serial port), which is written in place since it cannot be replaced, from a file; and,
    // sharing only reading, it refuses a file that another program is writing, whose writes
    // would be lost with the old file.
    fd_ = NativeHandle(reinterpret_cast<NativeHandle::Value>(
        ::CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (fd_.IsOpen()) {
        if (::GetFileType(Win32Handle(fd_)) != FILE_TYPE_DISK) {
            return;
        }
        fd_.Close();
    } else if (const DWORD error = ::GetLastError();
               error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
        Fail(attributes == INVALID_FILE_ATTRIBUTES ? "Cannot create file" : "Cannot write file",
             static_cast<int>(error));
    }

    const std::size_t folderLength = FolderPartLength(replacedPath_);
    const std::string folder = replacedPath_.substr(0, folderLength);
    const std::string name = replacedPath_.substr(folderLength);

    // A name in the same folder: the rename that replaces the target stays on one volume, and a
    // half-written file never carries the target's name. Others may read it, not write it.
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporaryPath_ = folder + TemporaryFileName(name);
        fd_ = NativeHandle(reinterpret_cast<NativeHandle::Value>(
            ::CreateFileW(win32::SystemPath(temporaryPath_).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                          nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)));
        error = ::GetLastError();
        if (fd_.IsOpen() || (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)) {
            break;
        }
    }
    if (!fd_.IsOpen()) {
        temporaryPath_.clear();
        Fail("Cannot create file", static_cast<int>(error));
    }
    cleanup_ = std::make_unique<InterruptCleanupEntry>(temporaryPath_.c_str());
}

TextFileWriter::~TextFileWriter() {
    if (!committed_ && !temporaryPath_.empty()) {
        fd_.Close();
        ::DeleteFileW(win32::SystemPath(temporaryPath_).c_str());
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
        const std::size_t left = pending_.size() - done;
        const DWORD count = static_cast<DWORD>(left < (1u << 30) ? left : (1u << 30));
        DWORD written = 0;
        if (!::WriteFile(Win32Handle(fd_), pending_.data() + done, count, &written, nullptr)) {
            const DWORD error = ::GetLastError();
            // What reached the file is not written twice should the caller try again.
            pending_.erase(0, done);
            Fail("Cannot write file", static_cast<int>(error));
        }
        done += written;
    }
    pending_.clear();
}

void TextFileWriter::Commit() {
    Flush();
    // A device written in place may have no buffers to flush.
    if (!::FlushFileBuffers(Win32Handle(fd_)) && !temporaryPath_.empty()) {
        Fail("Cannot write file", static_cast<int>(::GetLastError()));
    }
    if (const int error = fd_.Close(); error != 0) {
        Fail("Cannot write file", error);
    }
    if (temporaryPath_.empty()) {
        committed_ = true;
        return;
    }
    const std::wstring temporary = win32::SystemPath(temporaryPath_);
    const std::wstring target = win32::SystemPath(replacedPath_);
    // Replacing a file keeps its attributes (hidden, system, ...).
    const DWORD existing = ::GetFileAttributesW(target.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        (existing & KeptAttributes) != 0) {
        ::SetFileAttributesW(temporary.c_str(), existing & KeptAttributes);
    }
    if (!::MoveFileExW(temporary.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        Fail("Cannot replace file", static_cast<int>(::GetLastError()));
    }
    committed_ = true;
    cleanup_.reset();
}

// On Windows the number is a Win32 error code.
void TextFileWriter::Fail(const std::string& what, int errorNumber) const {
    throw InputOutputError(what + " \"" + targetPath_ + "\". " +
                           win32::ErrorText(static_cast<unsigned long>(errorNumber)));
}

} // namespace quorvix
