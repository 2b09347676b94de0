// Existence tests and folder listings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvix {

// The separator between folder names in a path on this platform. Windows also reads '/' as one.
#ifdef _WIN32
inline constexpr char PathSeparator = '\\';
#else
inline constexpr char PathSeparator = '/';
#endif

// What a path names, symbolic links followed.
enum class PathKind {
    Missing,     // nothing is there, or a part of the path on the way is no folder
    Folder,      // a folder
    RegularFile, // a regular file
    OtherFile,   // a FIFO, socket or device: it exists, but reading it could block or never end
    Unknown,     // the test itself failed otherwise (no permission to search a folder on the way,
                 // a loop of symbolic links, a name too long): something may well be there
};

// The kind of the path. Cannot fail.
PathKind KindOfPath(const std::string& path);

// The kind of the path and, for a regular file, its size, from one look. Cannot fail.
struct PathFacts {
    PathKind kind = PathKind::Missing;
    std::uint64_t size = 0;
};
PathFacts FactsOfPath(const std::string& path);

// A path that reads the program's standard input. Cannot fail.
std::string StandardInputPath();

// True when the program's standard output, or its standard error, is a terminal. Cannot fail.
bool StandardOutputIsTerminal();
bool StandardErrorIsTerminal();

// Lets the program hold as many files open as the system allows it, so that a walk of a very
// deep tree, which keeps one folder open per level, is not cut short early. Cannot fail.
void AllowManyOpenFiles();

// True when the path names something that exists and is not a folder (symbolic links followed).
bool FileExists(const std::string& path);

// True when the path names an existing folder (symbolic links followed).
bool FolderExists(const std::string& path);

struct DirectoryEntry {
    std::string name;
    bool isFolder = false;
    // The listing itself says it is a regular file (not a link, FIFO or device), so a walk may
    // open it without looking first; false when the listing does not tell.
    bool isRegularFile = false;
};

// Every entry of a folder but "." and "..", hidden ones included, in byte order of their names so
// that a walk comes out the same on every run and every machine. Folders are real folders only: a
// symbolic link to a folder is left out, so that a walk can never loop; any other entry (a link to
// a file, a dangling link, a FIFO) is listed as a file. Gives nothing when the folder cannot be
// listed.
std::optional<std::vector<DirectoryEntry>> ListFolder(const std::string& folder);

} // namespace quorvix
