// Existence tests and folder listings.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvix {

// The separator between folder names in a path on this platform.
inline constexpr char PathSeparator = '/';

// True when the path names something that exists and is not a folder (symbolic links followed).
bool FileExists(const std::string& path);

// True when the path names an existing folder (symbolic links followed).
bool FolderExists(const std::string& path);

struct DirectoryEntry {
    std::string name;
    bool isFolder = false;
};

// Every entry of a folder, hidden ones and "." and ".." included, in byte order of their names so
// that a walk comes out the same on every run and every machine. Folders are real folders only: a
// symbolic link to a folder is left out, so that a walk can never loop; any other entry (a link to
// a file, a dangling link, a FIFO) is listed as a file. Gives nothing when the folder cannot be
// listed.
std::optional<std::vector<DirectoryEntry>> ListFolder(const std::string& folder);

} // namespace quorvix
