#include "platform/FileSystem.h"

#include "platform/FileErrors.h"
#include "platform/Folder.h"
#include "platform/win32/SystemText.h"

#include <windows.h>

namespace quorvix {
namespace {

// Errors that say nothing is at the path, as opposed to a test that could not be made.
bool MeansMissing(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
        return true;
    default:
        return false;
    }
}

DWORD AttributesOf(const std::string& path) {
    return ::GetFileAttributesW(win32::SystemPath(path).c_str());
}

} // namespace

// The size is not needed here: the Windows open learns it from the handle.
PathFacts FactsOfPath(const std::string& path) {
    return {KindOfPath(path), 0};
}

PathKind KindOfPath(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return MeansMissing(::GetLastError()) ? PathKind::Missing : PathKind::Unknown;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return PathKind::Folder;
    }
    return (attributes & FILE_ATTRIBUTE_DEVICE) != 0 ? PathKind::OtherFile : PathKind::RegularFile;
}

// The reader of a check file takes this name to mean the program's standard input: no path
// names it on Windows, and "CONIN$" is the console's input, which is where it comes from when
// nothing is redirected.
std::string StandardInputPath() {
    return "CONIN$";
}

namespace {

// A console, not merely a character device: NUL is one too, and has no console mode.
bool IsConsole(DWORD standardHandle) {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(standardHandle), &mode) != 0;
}

} // namespace

bool StandardOutputIsTerminal() {
    return IsConsole(STD_OUTPUT_HANDLE);
}

bool StandardErrorIsTerminal() {
    return IsConsole(STD_ERROR_HANDLE);
}

void AllowManyOpenFiles() {
    // Windows sets no small limit on the handles a process holds.
}

bool FileExists(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::vector<DirectoryEntry>> ListFolder(const std::string& folder) {
    try {
        return Folder::Open(folder.empty() ? std::string(1, PathSeparator) : folder)->List();
    } catch (const FolderOpenError&) {
        return std::nullopt;
    }
}

} // namespace quorvix
