// The one way the jobs check a file: what the path names, then the open, then the digest of the
// opened file.
#pragma once

#include "checksum/JobHooks.h"
#include "md5/Md5.h"
#include "platform/FileStream.h"

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace quorvix {

class Folder;

// Where a file of a job lies.
struct FileLocation {
    std::string fullPath;                 // what logs, lists and messages show
    std::shared_ptr<const Folder> folder; // set during a walk: the file is name inside it, so
    std::string name;                     // no path length limit applies
    bool listedAsRegularFile = false;     // the walk's listing said so: no need to look again
};

enum class FileCheckOutcome {
    Missing,    // nothing is there, or a folder is, or the path holds a NUL byte
    Unreadable, // it exists (or cannot be told not to) but cannot be opened or read to its end
    Digested,   // the digest is known
};

struct FileCheckResult {
    FileCheckOutcome outcome = FileCheckOutcome::Missing;
    Md5Digest digest;        // when Digested
    std::uint64_t bytes = 0; // the file's size, when Digested
};

// Checks the files of one job. Copies of it may work on several threads at once.
class FileChecker {
public:
    explicit FileChecker(JobHooks hooks);

    // The kind of the path, then the open: the opened file, or Missing or Unreadable. Looking
    // before opening keeps devices from being opened at all (opening can have effects on them),
    // and the open admits regular files only and never blocks. Throws only what is no fault of
    // the file (out of memory).
    std::variant<FileCheckOutcome, std::unique_ptr<FileStream>>
    Open(const FileLocation& location) const;

    // Digests the opened file with the job's digest function and makes sure it kept its size
    // while it was read: Digested, or Unreadable when reading failed (FileOpenError or
    // InputOutputError). Other failures pass on.
    FileCheckResult Digest(FileStream& file) const;

    // Open, then Digest.
    FileCheckResult Check(const FileLocation& location) const;

    // True when files are digested with the plain digest, not a function the caller gave; only
    // then may several files share the lanes of a multi-buffer engine.
    bool UsesPlainDigest() const { return !hooks_.digestStream; }

    // The job's hooks.
    const JobHooks& Hooks() const { return hooks_; }

    // The result for a file digested elsewhere (in the lanes of a multi-buffer engine), and the
    // end of Digest: its digest, or the failure reading it threw. Checks its size as Digest does; a
    // failure that is no fault of the file (not FileOpenError or InputOutputError) is rethrown.
    FileCheckResult Finish(FileStream& file, const std::optional<Md5Digest>& digest,
                           std::exception_ptr failure) const;

private:
    JobHooks hooks_;
};

} // namespace quorvix
