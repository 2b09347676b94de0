#include "checksum/FileCheck.h"

#include "platform/FileErrors.h"
#include "platform/FileSystem.h"
#include "platform/Folder.h"

namespace quorvix {

FileChecker::FileChecker(JobHooks hooks) : hooks_(std::move(hooks)) {}

std::variant<FileCheckOutcome, std::unique_ptr<FileStream>>
FileChecker::Open(const FileLocation& location) const {
    // The system would read such a path only up to its NUL and so find some other file.
    if (location.fullPath.find('\0') != std::string::npos) {
        return FileCheckOutcome::Missing;
    }
    // A file the listing called regular is opened at once: the open admits regular files only,
    // so one swapped for something else in the meantime is still refused. That saves a system
    // call on every file of a walk, which shows on folders of many small files.
    PathFacts facts{PathKind::RegularFile, 0};
    if (!(location.folder && location.listedAsRegularFile)) {
        facts = location.folder ? PathFacts{location.folder->KindOf(location.name), 0}
                                : FactsOfPath(location.fullPath);
    }
    const PathKind kind = facts.kind;
    switch (kind) {
    case PathKind::Missing:
    case PathKind::Folder:
        return FileCheckOutcome::Missing;
    case PathKind::OtherFile:
    case PathKind::Unknown:
        return FileCheckOutcome::Unreadable;
    case PathKind::RegularFile:
        break;
    }
    std::unique_ptr<FileStream> file;
    try {
        // By path, the look before the open has already given the size.
        file =
            location.folder
                ? std::make_unique<FileStream>(*location.folder, location.name, location.fullPath)
                : std::make_unique<FileStream>(location.fullPath, SeenRegularFile{facts.size});
    } catch (const FileOpenError&) {
        return FileCheckOutcome::Unreadable;
    }
    if (hooks_.readProgress) {
        file->SetProgress(hooks_.readProgress);
    }
    return file;
}

FileCheckResult FileChecker::Digest(FileStream& file) const {
    std::optional<Md5Digest> digest;
    std::exception_ptr failure;
    try {
        digest = hooks_.DigestStream(file);
    } catch (...) {
        failure = std::current_exception();
    }
    return Finish(file, digest, failure);
}

FileCheckResult FileChecker::Finish(FileStream& file, const std::optional<Md5Digest>& digest,
                                    std::exception_ptr failure) const {
    try {
        if (failure) {
            std::rethrow_exception(failure);
        }
        file.CheckSizeUnchanged();
        return {FileCheckOutcome::Digested, *digest, file.Size()};
    } catch (const FileOpenError&) {
        // It was opened but could not be read to its end (it vanished, changed while it was
        // read, or failed on disk).
    } catch (const InputOutputError&) {
    }
    return {FileCheckOutcome::Unreadable, {}};
}

FileCheckResult FileChecker::Check(const FileLocation& location) const {
    auto opened = Open(location);
    if (const auto* outcome = std::get_if<FileCheckOutcome>(&opened)) {
        return {*outcome, {}};
    }
    return Digest(*std::get<std::unique_ptr<FileStream>>(opened));
}

} // namespace quorvix
