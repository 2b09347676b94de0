// Writes "CheckSum.md5" for a folder and logs the walk.
#pragma once

#include "checksum/JobHooks.h"
#include "checksum/LogSink.h"

#include <string>

namespace quorvix {

// The name of the check file the maker writes.
inline constexpr const char* CheckFileName = "CheckSum.md5";

// Clears the log, writes the check file for folderText (used exactly as given) and, when
// includeSubfolders is set, for every subfolder whose name does not begin with ".", then appends
// the closing lines. hooks.letPendingEventsRun runs before every directory entry. Throws
// InputOutputError when the check file cannot be created or completed; the old check file is
// then left as it was.
void CheckFileMaker(const std::string& folderText, bool includeSubfolders, LogSink& log,
                    const JobHooks& hooks = {});

} // namespace quorvix
