// Verifies every file a check file lists.
#pragma once

#include "checksum/JobHooks.h"
#include "checksum/LogSink.h"
#include "platform/LegacyEncoding.h"

#include <cstdint>
#include <string>

namespace quorvix {

// What a verification does besides checking the listed files.
struct VerifyOptions {
    // The code page from which a path field that is not UTF-8 and names no file is tried once
    // more (an iconv name); empty: no retry.
    std::string legacyEncoding = DefaultLegacyEncoding;
    // Also list the files of the check file's folder that the check file does not name, in a
    // last section and a last summary sentence.
    bool listUnlisted = false;
    // Whether that walk enters subfolders, as the maker's option does.
    bool unlistedIncludeSubfolders = true;
};

// How the entries of one verification turned out.
struct VerificationCounts {
    std::uint64_t unchanged = 0;
    std::uint64_t changed = 0;
    std::uint64_t missing = 0;
    std::uint64_t unreadable = 0;
    bool cancelled = false; // stopped on request before every entry was checked
    // Of the changed files, those last modified well before the check file was made.
    std::uint64_t silentlyChanged = 0;
    // Files the check file does not name (counted only when VerifyOptions::listUnlisted is set).
    std::uint64_t unlisted = 0;

    // The digest lines read, whatever became of them.
    std::uint64_t Entries() const { return unchanged + changed + missing + unreadable; }
    // True when every entry is unchanged (also when there is none) and nothing was cancelled.
    bool AllUnchanged() const {
        return !cancelled && changed == 0 && missing == 0 && unreadable == 0;
    }
};

// Clears the log, then reads the check file at checkFilePath (used exactly as given) and logs
// each listed file as unchanged, changed, missing or unreadable, followed by the summary and the
// lists of changed, missing and unreadable files. Digest lines of our own layout, md5sum's and
// the BSD tag form are read. Changed files whose modification time lies more than an hour
// before the check file's time stamp get a section of their own after the changed ones; options
// may add the unlisted files. A file that exists (or whose existence cannot be told) but cannot
// be opened or read to its end counts as unreadable. hooks.digestStream computes the digests;
// hooks.letPendingEventsRun runs only while a digest is awaited; hooks.cancelRequested is asked
// before each entry: once it says yes, the log ends with what was found so far and "操作已取消。".
// Throws UnknownEncodingError, before touching the log, when options name an encoding the
// system does not know; FileOpenError or InputOutputError when the check file cannot be opened
// or read, the lines logged so far staying (none when it cannot be opened).
void CheckFileVerifier(const std::string& checkFilePath, LogSink& log, const JobHooks& hooks = {},
                       const VerifyOptions& options = {});

// CheckFileVerifier, giving also the counts of the outcomes, for callers that act on them (the
// command line's exit status and messages, the window's closing line). workers threads digest
// ahead of the log (1: one file at a time on this thread); the log is the same either way.
// Fails as CheckFileVerifier does.
VerificationCounts VerifyCheckFile(const std::string& checkFilePath, LogSink& log,
                                   const JobHooks& hooks = {}, const VerifyOptions& options = {},
                                   unsigned workers = 1);

// VerifyCheckFile reading the check file from readPath (a pipe too, such as standard input)
// with its path fields resolved against folderPrefix. Fails as CheckFileVerifier does.
VerificationCounts VerifyCheckFileFrom(const std::string& readPath, const std::string& folderPrefix,
                                       LogSink& log, const JobHooks& hooks = {},
                                       const VerifyOptions& options = {}, unsigned workers = 1);

} // namespace quorvix
