#include "platform/FileSystem.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

namespace quorvix {
namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

} // namespace

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool FolderExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::optional<std::vector<DirectoryEntry>> ListFolder(const std::string& folder) {
    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.empty() ? "/" : folder.c_str()));
    if (!dir) {
        return std::nullopt;
    }
    const std::string prefix =
        folder.empty() || folder.back() != PathSeparator ? folder + PathSeparator : folder;

    std::vector<DirectoryEntry> entries;
    while (const dirent* entry = ::readdir(dir.get())) {
        DirectoryEntry item{entry->d_name, entry->d_type == DT_DIR};
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            const std::string path = prefix + item.name;
            if (::lstat(path.c_str(), &info) == 0) {
                item.isFolder = S_ISDIR(info.st_mode);
                if (S_ISLNK(info.st_mode) && ::stat(path.c_str(), &info) == 0 &&
                    S_ISDIR(info.st_mode)) {
                    continue;
                }
            }
        }
        entries.push_back(std::move(item));
    }
    std::sort(entries.begin(), entries.end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
    return entries;
}

} // namespace quorvix
