#include "platform/FileSystem.h"

#include "platform/FileErrors.h"
#include "platform/Folder.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace quorvix {
PathFacts FactsOfPath(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return {errno == ENOENT || errno == ENOTDIR ? PathKind::Missing : PathKind::Unknown, 0};
    }
    if (S_ISDIR(info.st_mode)) {
        return {PathKind::Folder, 0};
    }
    if (!S_ISREG(info.st_mode)) {
        return {PathKind::OtherFile, 0};
    }
    return {PathKind::RegularFile, static_cast<std::uint64_t>(info.st_size)};
}

PathKind KindOfPath(const std::string& path) {
    return FactsOfPath(path).kind;
}

std::string StandardInputPath() {
    return "/dev/stdin";
}

bool StandardOutputIsTerminal() {
    return ::isatty(STDOUT_FILENO) == 1;
}

bool StandardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

void AllowManyOpenFiles() {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

bool FileExists(const std::string& path) {
    const PathKind kind = KindOfPath(path);
    return kind == PathKind::RegularFile || kind == PathKind::OtherFile;
}

bool FolderExists(const std::string& path) {
    return KindOfPath(path) == PathKind::Folder;
}

std::optional<std::vector<DirectoryEntry>> ListFolder(const std::string& folder) {
    try {
        return Folder::Open(folder.empty() ? std::string(1, PathSeparator) : folder)->List();
    } catch (const FolderOpenError&) {
        return std::nullopt;
    }
}

} // namespace quorvix
