// Writes "CheckSum.md5" for a folder and logs the walk.
#pragma once

#include "checksum/JobHooks.h"
#include "checksum/LogSink.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorvix {

// The name of the check file the maker writes.
inline constexpr const char* CheckFileName = "CheckSum.md5";

// Where a maker run on a folder puts its check file, and how it cuts relative paths.
struct CheckFileLocation {
    std::string folderPrefix;         // the folder text, with one '/' appended unless it ends so
    std::size_t BasePrefixLength = 0; // bytes of folderPrefix, cut from full paths
    std::string checkFilePath;        // folderPrefix followed by "CheckSum.md5"
};

// How a maker run ended.
struct MakerResult {
    std::uint64_t filesListed = 0;  // entries written
    std::uint64_t filesLeftOut = 0; // files that could not be read, paths no entry can carry,
                                    // and folders that could not be opened
    bool cancelled = false;         // stopped on request; the old check file is untouched

    // True when the check file was written and lists everything the walk met.
    bool Complete() const { return !cancelled && filesLeftOut == 0; }
};

// The location for folderText, used exactly as given. Cannot fail.
CheckFileLocation CheckFileLocationOf(const std::string& folderText);

// Clears the log, writes the check file for folderText (used exactly as given) and, when
// includeSubfolders is set, for every subfolder whose name does not begin with ".", then appends
// the closing lines. A file that cannot be read, a path no entry line can carry and a folder
// that cannot be opened each get a log line and no entry. hooks.letPendingEventsRun runs before
// every directory entry and while a digest is awaited; hooks.cancelRequested is asked before
// each entry: once it says yes, the run stops, logs "操作已取消。" and leaves the old check file
// as it was. workers threads digest ahead of the log (1: one file at a time on this thread); the
// check file and the log are the same either way. Throws InputOutputError when the check file
// cannot be created or completed; the old check file is then left as it was.
MakerResult CheckFileMaker(const std::string& folderText, bool includeSubfolders, LogSink& log,
                           const JobHooks& hooks = {}, unsigned workers = 1);

} // namespace quorvix
