// The existence test, the open probe and the digest of one listed file, as the maker and the
// verifier make them.
#pragma once

#include "checksum/JobHooks.h"

#include <string>

namespace quorvix {

enum class FileCheckOutcome {
    Missing,    // nothing is there, or a folder is, or the path holds a NUL byte
    Unreadable, // it exists but fails the open probe, or its digest fails after the probe
    Digested,   // digestText holds its digest
};

struct FileCheckResult {
    FileCheckOutcome outcome = FileCheckOutcome::Missing;
    std::string digestText; // upper-case digest text when Digested, else empty
};

// Checks the files of one job, one after another.
class FileChecker {
public:
    // When hooks.fileDigestText is set, Check uses FileExists, OpenProbe and that function, in
    // that order. Otherwise it gives the same outcomes with a single open of each file, the
    // file stream's own, which halves the opens on folders of many small files.
    explicit FileChecker(const JobHooks& hooks);

    // The existence test, then the open probe, then the digest, each only when the one before
    // passed. A digest that fails (FileOpenError or InputOutputError) after a passed probe gives
    // Unreadable; other failures pass on.
    FileCheckResult Check(const std::string& path);

private:
    FileCheckResult CheckWithHooks(const std::string& path);
    FileCheckResult CheckWithOneOpen(const std::string& path);

    const JobHooks& hooks_;
};

} // namespace quorvix
