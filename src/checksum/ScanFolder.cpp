#include "checksum/ScanFolder.h"

#include "checksum/CheckFileFormat.h"
#include "checksum/CheckFileMaker.h"
#include "platform/FileErrors.h"
#include "platform/FileSystem.h"
#include "platform/Folder.h"
#include "platform/PathText.h"
#include "platform/TextFileWriter.h"

namespace quorvix {

struct ScanFolder::Level {
    std::shared_ptr<const Folder> folder;
    std::string path; // without a final separator
    std::vector<DirectoryEntry> entries;
    std::size_t next = 0;
};

ScanFolder::ScanFolder(const std::string& folderPrefix, std::size_t basePrefixLength,
                       bool includeSubfolders)
    : basePrefixLength_(basePrefixLength), includeSubfolders_(includeSubfolders) {
    std::string folder = folderPrefix;
    if (EndsWithPathSeparator(folder)) {
        folder.pop_back();
    }
    try {
        Enter(Folder::Open(folder.empty() ? std::string(1, PathSeparator) : folder), folder);
    } catch (const FolderOpenError& failure) {
        pending_ = WalkStep{WalkStep::Kind::FolderFailed, failure.what(), {}};
    }
}

ScanFolder::~ScanFolder() = default;

void ScanFolder::Enter(std::shared_ptr<const Folder> folder, std::string path) {
    std::vector<DirectoryEntry> entries = folder->List();
    levels_.push_back({std::move(folder), std::move(path), std::move(entries), 0});
}

std::optional<WalkStep> ScanFolder::Next() {
    if (pending_) {
        return std::exchange(pending_, std::nullopt);
    }
    while (!levels_.empty()) {
        Level& level = levels_.back();
        if (level.next == level.entries.size()) {
            levels_.pop_back();
            continue;
        }
        const DirectoryEntry& entry = level.entries[level.next++];
        std::string fullPath = level.path + PathSeparator + entry.name;
        if (entry.isFolder) {
            // Every dot-folder (.git, .cache, ...) is passed over without a word.
            if (entry.name.front() == '.' || !includeSubfolders_) {
                continue;
            }
            WalkStep step{WalkStep::Kind::EnterFolder, fullPath, {}};
            try {
                auto subfolder = level.folder->OpenSubfolder(entry.name, fullPath);
                Enter(std::move(subfolder), std::move(fullPath));
            } catch (const FolderOpenError& failure) {
                pending_ = WalkStep{WalkStep::Kind::FolderFailed, failure.what(), {}};
            }
            return step;
        }
        if (entry.name == CheckFileName || IsTemporaryFileName(entry.name, CheckFileName)) {
            continue;
        }
        if (!PathCanBeStored(std::string_view(fullPath).substr(basePrefixLength_))) {
            return WalkStep{WalkStep::Kind::NameNotStorable, entry.name,
                            FileLocation{std::move(fullPath), nullptr, {}}};
        }
        return WalkStep{
            WalkStep::Kind::File, entry.name,
            FileLocation{std::move(fullPath), level.folder, entry.name, entry.isRegularFile}};
    }
    return std::nullopt;
}

} // namespace quorvix
