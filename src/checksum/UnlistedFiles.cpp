#include "checksum/UnlistedFiles.h"

#include "checksum/CheckFileFormat.h"
#include "checksum/CheckFileMaker.h"
#include "platform/FileSystem.h"

#include <filesystem>

namespace quorvix {
namespace {

std::string Normal(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().string();
}

bool IsMakersTemporaryFile(const std::string& name) {
    const std::string start = std::string(".") + CheckFileName + ".tmp-";
    return name.starts_with(start);
}

struct Walk {
    bool includeSubfolders;
    std::string checkFile; // normal form
    const ListedFiles& listed;
    std::vector<std::string> unlisted;

    void Folder(std::string folder) {
        if (!folder.empty() && folder.back() == PathSeparator) {
            folder.pop_back();
        }
        const auto entries = ListFolder(folder);
        if (!entries) {
            return;
        }
        for (const DirectoryEntry& entry : *entries) {
            std::string fullPath = folder + PathSeparator + entry.name;
            if (entry.isFolder) {
                if (includeSubfolders && entry.name.front() != '.') {
                    Folder(fullPath);
                }
                continue;
            }
            if (entry.name == CheckFileName || IsMakersTemporaryFile(entry.name) ||
                Normal(fullPath) == checkFile || listed.Contains(fullPath)) {
                continue;
            }
            unlisted.push_back(std::move(fullPath));
        }
    }
};

} // namespace

void ListedFiles::Add(const std::string& fullPath) {
    paths_.insert(Normal(fullPath));
}

bool ListedFiles::Contains(const std::string& fullPath) const {
    return paths_.count(Normal(fullPath)) != 0;
}

std::vector<std::string> FindUnlistedFiles(const std::string& checkFilePath, bool includeSubfolders,
                                           const ListedFiles& listed) {
    // Normal forms agree however the walk spells the check file: "sums.md5" is "./sums.md5".
    Walk walk{includeSubfolders, Normal(checkFilePath), listed, {}};
    walk.Folder(CheckFileFolderPrefix(checkFilePath));
    return std::move(walk.unlisted);
}

} // namespace quorvix
