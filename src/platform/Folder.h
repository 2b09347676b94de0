// A folder held open while what lies in it is reached relative to it, so that a walk goes as deep
// as the tree does: no path is ever longer than one name.
#pragma once

#include "platform/FileSystem.h"
#include "platform/NativeHandle.h"

#include <memory>
#include <string>
#include <vector>

namespace quorvix {

class Folder {
public:
    // Opens the folder at path. Throws FolderOpenError naming the path with the system's
    // reason when it is missing, is no folder or may not be read.
    static std::shared_ptr<const Folder> Open(const std::string& path);

    // Opens the subfolder called name (a real folder; a symbolic link is never followed, so a
    // walk cannot loop). displayPath is the path that messages name. Throws FolderOpenError.
    std::shared_ptr<const Folder> OpenSubfolder(const std::string& name,
                                                std::string displayPath) const;

    // Every entry other than "." and "..", in byte order of the names, classified as ListFolder
    // does. Throws FolderOpenError when the folder cannot be read.
    std::vector<DirectoryEntry> List() const;

    // The kind of the entry called name, symbolic links followed. Cannot fail.
    PathKind KindOf(const std::string& name) const;

    // The path the folder was opened by, as messages name it.
    const std::string& Path() const { return path_; }
    NativeHandle::Value Handle() const { return handle_.Get(); }

    Folder(NativeHandle handle, std::string path);

private:
    NativeHandle handle_;
    std::string path_;
};

} // namespace quorvix
