#include "checksum/ScanFolder.h"

#include "checksum/CheckFileFormat.h"
#include "checksum/CheckFileMaker.h"
#include "platform/FileSystem.h"

namespace quorvix {
namespace {

constexpr const char* StatusOk = "OK";
constexpr const char* StatusCouldNotOpen = "Could not open file";

// Digests one file and writes its entry line; gives the status its log line shows.
const char* MakeEntry(const std::string& fullPath, const MakerRun& run) {
    // A file that passed the probe but could not be read after all (it vanished, lost its
    // permissions or failed on disk) is reported like one that failed the probe.
    const FileCheckResult result = run.files.Check(fullPath);
    if (result.outcome != FileCheckOutcome::Digested) {
        return StatusCouldNotOpen;
    }
    // A check file that cannot be written is not the file's fault: that failure ends the run.
    run.checkFile.WriteLine(CheckFileEntryLine(
        result.digestText, std::string_view(fullPath).substr(run.BasePrefixLength)));
    return StatusOk;
}

} // namespace

void ScanFolder(const std::string& folderPath, const MakerRun& run) {
    std::string folder = folderPath;
    if (!folder.empty() && folder.back() == PathSeparator) {
        folder.pop_back();
    }
    const std::optional<std::vector<DirectoryEntry>> entries = ListFolder(folder);
    if (!entries) {
        return;
    }
    for (const DirectoryEntry& entry : *entries) {
        run.hooks.RunPendingEvents();
        const std::string fullPath = folder + PathSeparator + entry.name;
        if (entry.isFolder) {
            // "." and ".." and every other dot-folder (.git, .cache, ...) are never walked.
            if (entry.name.front() == '.' || !run.IncludeSubfolders) {
                continue;
            }
            run.log.Append("Processing folder \"" + fullPath + "\" ...");
            ScanFolder(fullPath, run);
            continue;
        }
        if (entry.name == CheckFileName || fullPath == run.checkFile.TemporaryPath()) {
            continue;
        }
        const char* status = MakeEntry(fullPath, run);
        run.log.Append("Processing file \"" + entry.name + "\" ... " + status);
    }
}

} // namespace quorvix
