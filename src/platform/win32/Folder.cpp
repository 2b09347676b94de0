#include "platform/Folder.h"

#include "platform/FileErrors.h"
#include "platform/win32/SystemText.h"

#include <windows.h>

#include <algorithm>
#include <memory>

// Win32 has no openat: a Folder keeps the path it was opened by and reaches what lies in it as
// that path, a '\' and the name. Long paths get the "\\?\" prefix (SystemPath), so depth is not
// limited by the classic 260 characters either. The folder's handle is still held open, so that
// it cannot be removed while it is walked.

namespace quorvix {
namespace {

struct FindCloser {
    void operator()(HANDLE find) const { ::FindClose(find); }
};

enum class LinkRule { Follow, Refuse };

NativeHandle OpenFolderHandle(const std::string& path, const std::string& displayPath,
                              LinkRule links) {
    const DWORD flags =
        FILE_FLAG_BACKUP_SEMANTICS | (links == LinkRule::Refuse ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    NativeHandle handle(reinterpret_cast<NativeHandle::Value>(
        ::CreateFileW(win32::SystemPath(path).c_str(), FILE_LIST_DIRECTORY,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, flags, nullptr)));
    if (!handle.IsOpen()) {
        throw FolderOpenError(displayPath, win32::ErrorText(::GetLastError()));
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(reinterpret_cast<HANDLE>(handle.Get()), &information)) {
        throw FolderOpenError(displayPath, win32::ErrorText(::GetLastError()));
    }
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        throw FolderOpenError(displayPath, win32::ErrorText(ERROR_DIRECTORY));
    }
    if (links == LinkRule::Refuse &&
        (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        throw FolderOpenError(displayPath, "It is a link to a folder, which is never walked");
    }
    return handle;
}

} // namespace

Folder::Folder(NativeHandle handle, std::string path)
    : handle_(std::move(handle)), path_(std::move(path)) {}

std::shared_ptr<const Folder> Folder::Open(const std::string& path) {
    std::string systemPath = path.empty() ? std::string(".") : path;
    // Names are joined to a folder with one separator, so a bare drive here stands for its root,
    // as "C:" followed by "\" and a name does.
    if (systemPath.size() == 2 && systemPath[1] == ':') {
        systemPath.push_back('\\');
    }
    NativeHandle handle = OpenFolderHandle(systemPath, path, LinkRule::Follow);
    return std::make_shared<const Folder>(std::move(handle), std::move(systemPath));
}

// The subfolder keeps the path it was really opened by, which is the path that later opens
// inside it need; messages about opening it name displayPath.
std::shared_ptr<const Folder> Folder::OpenSubfolder(const std::string& name,
                                                    std::string displayPath) const {
    std::string path = win32::JoinPath(path_, name);
    NativeHandle handle = OpenFolderHandle(path, displayPath, LinkRule::Refuse);
    return std::make_shared<const Folder>(std::move(handle), std::move(path));
}

std::vector<DirectoryEntry> Folder::List() const {
    WIN32_FIND_DATAW found{};
    const HANDLE find =
        ::FindFirstFileExW(win32::SystemPath(win32::JoinPath(path_, "*")).c_str(), FindExInfoBasic,
                           &found, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    std::vector<DirectoryEntry> entries;
    if (find == INVALID_HANDLE_VALUE) {
        // The root of an empty drive has not even "." and "..".
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) {
            return entries;
        }
        throw FolderOpenError(path_, win32::ErrorText(error));
    }
    const std::unique_ptr<void, FindCloser> search(find);
    do {
        std::string name = win32::AnsiText(found.cFileName);
        if (name == "." || name == "..") {
            continue;
        }
        const bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        // A link or junction to a folder is left out: walking it could loop.
        if (folder && (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            continue;
        }
        entries.push_back({std::move(name), folder});
    } while (::FindNextFileW(find, &found));
    if (const DWORD error = ::GetLastError(); error != ERROR_NO_MORE_FILES) {
        throw FolderOpenError(path_, win32::ErrorText(error));
    }
    // NTFS lists names in its own case-blind order; byte order of the ANSI names keeps check
    // files the same on every system.
    std::sort(entries.begin(), entries.end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
    return entries;
}

PathKind Folder::KindOf(const std::string& name) const {
    return KindOfPath(win32::JoinPath(path_, name));
}

} // namespace quorvix
