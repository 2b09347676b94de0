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

    // True when every entry is unchanged (also when there is none).
    bool AllUnchanged() const { return changed == 0 && missing == 0 && unreadable == 0; }
};

// Clears the log, then reads the check file at checkFilePath (used exactly as given) and logs
// each listed file as unchanged, changed, missing or unreadable, followed by the summary and the
// lists of changed, missing and unreadable files. Never runs pending events; hooks.fileDigestText
// computes the digests; a file whose digest fails counts as unreadable. Throws FileOpenError or
// InputOutputError when the check file cannot be opened or read; the lines logged so far stay
// (none when it cannot be opened).
void CheckFileVerifier(const std::string& checkFilePath, LogSink& log, const JobHooks& hooks = {});

// CheckFileVerifier, giving also the counts of the four outcomes, for callers that act on them
// (the command line's exit status). Fails as CheckFileVerifier does.
VerificationCounts VerifyCheckFile(const std::string& checkFilePath, LogSink& log,
                                   const JobHooks& hooks = {});

} // namespace quorvix
