// One folder of the maker's walk.
#pragma once

#include "checksum/FileCheck.h"
#include "checksum/JobHooks.h"
#include "checksum/LogSink.h"
#include "platform/TextFileWriter.h"

#include <cstddef>
#include <string>

namespace quorvix {

// What every folder of one maker run shares. Each run makes its own, so runs never disturb
// each other.
struct MakerRun {
    bool IncludeSubfolders = true;
    std::size_t BasePrefixLength =
        0; // leading bytes cut from a full path to give its relative path
    TextFileWriter& checkFile;
    LogSink& log;
    const JobHooks& hooks;
    FileChecker& files; // probes and digests the files
};

// Lists folderPath (with or without one final '/') in byte order of the names and, for each
// entry after letting pending events run: walks a subfolder whose name does not begin with "."
// when run.IncludeSubfolders is set (logging "Processing folder ..." first); passes over files
// named exactly "CheckSum.md5" and the run's own temporary check file; probes and digests every
// other file, writes its entry line and logs "Processing file ..." with "OK" or "Could not open
// file". A folder that cannot be listed contributes nothing. Throws InputOutputError when the
// check file cannot be written.
void ScanFolder(const std::string& folderPath, const MakerRun& run);

} // namespace quorvix
