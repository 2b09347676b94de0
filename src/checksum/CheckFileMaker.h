// Writes "CheckSum.md5" for a folder and logs the walk.
#pragma once

#include "checksum/JobHooks.h"
#include "checksum/LogSink.h"

#include <cstddef>
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

// The location for folderText, used exactly as given. Cannot fail.
CheckFileLocation CheckFileLocationOf(const std::string& folderText);

// Clears the log, writes the check file for folderText (used exactly as given) and, when
// includeSubfolders is set, for every subfolder whose name does not begin with ".", then appends
// the closing lines. hooks.letPendingEventsRun runs before every directory entry. Throws
// InputOutputError when the check file cannot be created or completed; the old check file is
// then left as it was.
void CheckFileMaker(const std::string& folderText, bool includeSubfolders, LogSink& log,
                    const JobHooks& hooks = {});

} // namespace quorvix
