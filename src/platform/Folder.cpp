#include "platform/Folder.h"

#include "platform/FileErrors.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace quorvix {
namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

int Descriptor(NativeHandle::Value value) {
    return static_cast<int>(value);
}

constexpr int FolderOpenFlags = O_RDONLY | O_DIRECTORY | O_NOCTTY | O_CLOEXEC;

} // namespace

Folder::Folder(NativeHandle handle, std::string path)
    : handle_(std::move(handle)), path_(std::move(path)) {}

std::shared_ptr<const Folder> Folder::Open(const std::string& path) {
    NativeHandle handle(::open(path.empty() ? "." : path.c_str(), FolderOpenFlags));
    if (!handle.IsOpen()) {
        throw FolderOpenError(path, SystemErrorText(errno));
    }
    return std::make_shared<const Folder>(std::move(handle), path);
}

std::shared_ptr<const Folder> Folder::OpenSubfolder(const std::string& name,
                                                    std::string displayPath) const {
    NativeHandle handle(
        ::openat(Descriptor(handle_.Get()), name.c_str(), FolderOpenFlags | O_NOFOLLOW));
    if (!handle.IsOpen()) {
        throw FolderOpenError(displayPath, SystemErrorText(errno));
    }
    return std::make_shared<const Folder>(std::move(handle), std::move(displayPath));
}

std::vector<DirectoryEntry> Folder::List() const {
    // The listing takes a descriptor of its own, so the folder stays open for relative opens.
    const int listed = ::openat(Descriptor(handle_.Get()), ".", FolderOpenFlags);
    if (listed == -1) {
        throw FolderOpenError(path_, SystemErrorText(errno));
    }
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(listed));
    if (!dir) {
        const int error = errno;
        ::close(listed);
        throw FolderOpenError(path_, SystemErrorText(error));
    }
    std::vector<DirectoryEntry> entries;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) {
            if (errno != 0) {
                throw FolderOpenError(path_, SystemErrorText(errno));
            }
            break;
        }
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        DirectoryEntry item{name, entry->d_type == DT_DIR, entry->d_type == DT_REG};
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            const int fd = Descriptor(handle_.Get());
            if (::fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
                item.isFolder = S_ISDIR(info.st_mode);
                // A link to a folder is left out: walking it could loop.
                if (S_ISLNK(info.st_mode) && ::fstatat(fd, name.c_str(), &info, 0) == 0 &&
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

PathKind Folder::KindOf(const std::string& name) const {
    struct stat info {};
    if (::fstatat(Descriptor(handle_.Get()), name.c_str(), &info, 0) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? PathKind::Missing : PathKind::Unknown;
    }
    if (S_ISDIR(info.st_mode)) {
        return PathKind::Folder;
    }
    return S_ISREG(info.st_mode) ? PathKind::RegularFile : PathKind::OtherFile;
}

} // namespace quorvix
