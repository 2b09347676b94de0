// Verifies every file a check file lists.
#pragma once

#include "checksum/JobHooks.h"
#include "checksum/LogSink.h"

#include <cstdint>
#include <string>

namespace quorvix {

// How the entries of one verification turned out.
struct VerificationCounts {
    std::uint64_t unchanged = 0;
    std::uint64_t changed = 0;
    std::uint64_t missing = 0;
    std::uint64_t unreadable = 0;
    bool cancelled = false; // stopped on request before every entry was checked

    // True when every entry is unchanged (also when there is none).
    bool AllUnchanged() const {
        return !cancelled && changed == 0 && missing == 0 && unreadable == 0;
    }
    std::uint64_t Entries() const { return unchanged + changed + missing + unreadable; }
};

// Clears the log, then reads the check file at checkFilePath (used exactly as given) and logs
// each listed file as unchanged, changed, missing or unreadable, followed by the summary and the
// lists of changed, missing and unreadable files. A file that exists (or whose existence cannot
// be told) but cannot be opened or read to its end counts as unreadable. hooks.digestStream
// computes the digests; hooks.letPendingEventsRun runs only while a digest is awaited;
// hooks.cancelRequested is asked before each entry: once it says yes, the log ends with what was
// found so far and "操作已取消。". Throws FileOpenError or InputOutputError when the check file
// cannot be opened or read; the lines logged so far stay (none when it cannot be opened).
void CheckFileVerifier(const std::string& checkFilePath, LogSink& log, const JobHooks& hooks = {});

// CheckFileVerifier, giving also the counts of the four outcomes, for callers that act on them
// (the command line's exit status). workers threads digest ahead of the log (1: one file at a
// time on this thread); the log is the same either way. Fails as CheckFileVerifier does.
VerificationCounts VerifyCheckFile(const std::string& checkFilePath, LogSink& log,
                                   const JobHooks& hooks = {}, unsigned workers = 1);

// VerifyCheckFile reading the check file from readPath (a pipe too, such as standard input)
// with its path fields resolved against folderPrefix. Fails as CheckFileVerifier does.
VerificationCounts VerifyCheckFileFrom(const std::string& readPath, const std::string& folderPrefix,
                                       LogSink& log, const JobHooks& hooks = {},
                                       unsigned workers = 1);

} // namespace quorvix
