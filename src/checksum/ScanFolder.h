// The maker's walk of a folder, one step at a time, so that it can run ahead of the log.
#pragma once

#include "checksum/FileCheck.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvix {

class Folder;
struct DirectoryEntry;

// One step of the walk, in the order the log shows them.
struct WalkStep {
    enum class Kind {
        EnterFolder,     // a subfolder is about to be walked; text is its path
        FolderFailed,    // a folder could not be opened or listed; text is the message
        File,            // a file to digest; text is its name, location where it lies
        NameNotStorable, // a file whose path no entry line can carry; text is its name,
                         // location.fullPath its path
    };
    Kind kind = Kind::File;
    std::string text;
    FileLocation location;
};

// Walks a folder depth first, each folder's entries in byte order of their names, a subfolder's
// entries at the place where its parent's listing gives it. Walks subfolders whose names do not
// begin with "." when includeSubfolders is set; passes over files named exactly "CheckSum.md5"
// and every temporary check file a maker run leaves while it writes (or left when it was
// killed). Folders are held open and entered relative to their parent, so there is no limit on
// depth or path length. Only the open folders along the current path stay open.
class ScanFolder {
public:
    // folderPrefix is the folder text with its final separator; basePrefixLength bytes are cut
    // from a full path to give the relative path an entry stores.
    ScanFolder(const std::string& folderPrefix, std::size_t basePrefixLength,
               bool includeSubfolders);
    ~ScanFolder();
    ScanFolder(const ScanFolder&) = delete;
    ScanFolder& operator=(const ScanFolder&) = delete;

    // The next step, or nothing once the walk is over. A folder that cannot be opened or listed
    // gives a FolderFailed step and nothing else of it. Throws only what is no fault of the tree
    // (out of memory).
    std::optional<WalkStep> Next();

private:
    struct Level;
    void Enter(std::shared_ptr<const Folder> folder, std::string path);

    std::size_t basePrefixLength_;
    bool includeSubfolders_;
    std::vector<Level> levels_;
    std::optional<WalkStep> pending_; // a failure to give right after the step before it
};

} // namespace quorvix
