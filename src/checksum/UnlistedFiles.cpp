#include "checksum/UnlistedFiles.h"

#include "checksum/CheckFileFormat.h"
#include "checksum/CheckFileMaker.h"
#include "checksum/ScanFolder.h"

#include <filesystem>

namespace quorvix {
namespace {

std::string Normal(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().string();
}

// Any name shaped like the maker's temporary files, even one the maker would list: such a file
// is far likelier left over from a run than a file of the user's.
bool LooksLikeMakersTemporaryFile(const std::string& name) {
    const std::string start = std::string(".") + CheckFileName + ".tmp-";
    return name.starts_with(start);
}

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
    const std::string checkFile = Normal(checkFilePath);
    const std::string prefix = CheckFileFolderPrefix(checkFilePath);
    // The maker's own walk, so that its rules (order, subfolders, dot-folders, "CheckSum.md5"
    // and its temporary files) are the same here; folders it cannot open contribute nothing.
    ScanFolder walk(prefix, prefix.size(), includeSubfolders);
    std::vector<std::string> unlisted;
    while (std::optional<WalkStep> step = walk.Next()) {
        const bool file =
            step->kind == WalkStep::Kind::File || step->kind == WalkStep::Kind::NameNotStorable;
        if (!file || LooksLikeMakersTemporaryFile(step->text)) {
            continue;
        }
        std::string& fullPath = step->location.fullPath;
        if (Normal(fullPath) != checkFile && !listed.Contains(fullPath)) {
            unlisted.push_back(std::move(fullPath));
        }
    }
    return unlisted;
}

} // namespace quorvix
