#include "platform/ReadableFile.h"

#include "platform/FileErrors.h"
#include "platform/FileSystem.h"
#include "platform/Folder.h"
#include "platform/win32/SystemText.h"

#include <windows.h>

namespace quorvix {
namespace {

HANDLE Win32Handle(const NativeHandle& handle) {
    return reinterpret_cast<HANDLE>(handle.Get());
}

// ReadFile takes a 32-bit count; 1 GiB per call keeps clear of it.
constexpr std::size_t LargestRead = std::size_t{1} << 30;

DWORD ReadCount(std::size_t count) {
    return static_cast<DWORD>(count < LargestRead ? count : LargestRead);
}

// Others may read the file while it is read here, so a virus scanner or an indexer that has it
// open does not make it unreadable; nobody may write it, so a file that another program is
// writing cannot be opened, and one that is read cannot be written under the reader's feet:
// the digest is always that of one whole state of the file.
NativeHandle OpenForReading(const std::string& path) {
    if (path == StandardInputPath()) {
        // The handle the program was given, redirected or not; a copy, so closing it leaves
        // the program's own.
        HANDLE copy = INVALID_HANDLE_VALUE;
        const HANDLE process = ::GetCurrentProcess();
        if (!::DuplicateHandle(process, ::GetStdHandle(STD_INPUT_HANDLE), process, &copy, 0, FALSE,
                               DUPLICATE_SAME_ACCESS)) {
            copy = INVALID_HANDLE_VALUE;
        }
        return NativeHandle(reinterpret_cast<NativeHandle::Value>(copy));
    }
    return NativeHandle(reinterpret_cast<NativeHandle::Value>(
        ::CreateFileW(win32::SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)));
}

} // namespace

ReadableFile::ReadableFile(const std::string& path, AcceptedInput accepted) : path_(path) {
    handle_ = OpenForReading(path);
    FinishOpen(accepted);
}

// Windows learns the type and size from the open handle at no extra cost worth saving.
ReadableFile::ReadableFile(const std::string& path, SeenRegularFile)
    : ReadableFile(path, AcceptedInput::RegularFiles) {}

ReadableFile::ReadableFile(const Folder& folder, const std::string& name, std::string displayPath,
                           AcceptedInput accepted)
    : path_(std::move(displayPath)) {
    handle_ = OpenForReading(win32::JoinPath(folder.Path(), name));
    FinishOpen(accepted);
}

void ReadableFile::FinishOpen(AcceptedInput accepted) {
    if (!handle_.IsOpen()) {
        throw FileOpenError(path_, win32::ErrorText(::GetLastError()));
    }
    const DWORD type = ::GetFileType(Win32Handle(handle_));
    regular_ = type == FILE_TYPE_DISK;
    const bool pipe = type == FILE_TYPE_PIPE && accepted == AcceptedInput::RegularFilesAndPipes;
    if (!regular_ && !pipe) {
        throw FileOpenError(path_, "Not a regular file");
    }
    LARGE_INTEGER size{};
    if (regular_ && !::GetFileSizeEx(Win32Handle(handle_), &size)) {
        throw FileOpenError(path_, win32::ErrorText(::GetLastError()));
    }
    size_ = regular_ ? static_cast<std::uint64_t>(size.QuadPart) : 0;
}

std::size_t ReadableFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    if (!::ReadFile(Win32Handle(handle_), buffer, ReadCount(count), &got, &at)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_HANDLE_EOF) {
            return 0;
        }
        FailRead(static_cast<int>(error));
    }
    return got;
}

std::size_t ReadableFile::Read(void* buffer, std::size_t count) {
    DWORD got = 0;
    if (!::ReadFile(Win32Handle(handle_), buffer, ReadCount(count), &got, nullptr)) {
        const DWORD error = ::GetLastError();
        // A pipe whose writer has closed it has simply ended.
        if (error == ERROR_HANDLE_EOF || error == ERROR_BROKEN_PIPE) {
            return 0;
        }
        FailRead(static_cast<int>(error));
    }
    return got;
}

void ReadableFile::AdviseSequentialReading() {
    // FILE_FLAG_SEQUENTIAL_SCAN at the open has told the system already.
}

void ReadableFile::CheckSizeUnchanged() const {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(Win32Handle(handle_), &size)) {
        FailRead(static_cast<int>(::GetLastError()));
    }
    if (static_cast<std::uint64_t>(size.QuadPart) != size_) {
        throw InputOutputError("Cannot read file \"" + path_ +
                               "\". It changed while it was being read");
    }
}

// On Windows the number is a Win32 error code.
void ReadableFile::FailRead(int errorNumber) const {
    throw InputOutputError("Cannot read file \"" + path_ + "\". " +
                           win32::ErrorText(static_cast<unsigned long>(errorNumber)));
}

} // namespace quorvix
