#include "checksum/FileCheck.h"

#include "platform/FileErrors.h"
#include "platform/FileStream.h"
#include "platform/FileSystem.h"
#include "platform/OpenProbe.h"

#include <sys/stat.h>

namespace quorvix {

FileChecker::FileChecker(const JobHooks& hooks) : hooks_(hooks) {}

FileCheckResult FileChecker::Check(const std::string& path) {
    // The system would read such a path only up to its NUL and so find some other file.
    if (path.find('\0') != std::string::npos) {
        return {FileCheckOutcome::Missing, {}};
    }
    return hooks_.fileDigestText ? CheckWithHooks(path) : CheckWithOneOpen(path);
}

FileCheckResult FileChecker::CheckWithHooks(const std::string& path) {
    if (!FileExists(path)) {
        return {FileCheckOutcome::Missing, {}};
    }
    if (!OpenProbe(path)) {
        return {FileCheckOutcome::Unreadable, {}};
    }
    try {
        return {FileCheckOutcome::Digested, hooks_.DigestText(path)};
    } catch (const FileOpenError&) {
        // It passed the probe but could not be read after all (it vanished, lost its
        // permissions or failed on disk).
    } catch (const InputOutputError&) {
    }
    return {FileCheckOutcome::Unreadable, {}};
}

FileCheckResult FileChecker::CheckWithOneOpen(const std::string& path) {
    // Looking before opening keeps devices from being opened at all: opening can have effects
    // on them (a tape rewinds). The same look is the existence test.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
        return {FileCheckOutcome::Missing, {}};
    }
    if (!S_ISREG(info.st_mode)) {
        return {FileCheckOutcome::Unreadable, {}};
    }
    // The stream's open is the probe: it admits regular files only and never blocks, and
    // keeping it for the digest halves the opens on folders of many small files.
    try {
        FileStream stream(path);
        return {FileCheckOutcome::Digested, DigestToHex(DigestOfStream(stream))};
    } catch (const FileOpenError&) {
    } catch (const InputOutputError&) {
    }
    return {FileCheckOutcome::Unreadable, {}};
}

} // namespace quorvix
