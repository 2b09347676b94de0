#include "checksum/CheckFileMaker.h"

#include "checksum/CheckFileFormat.h"
#include "checksum/DigestPipeline.h"
#include "checksum/FileDigest.h"
#include "checksum/OutcomeTexts.h"
#include "checksum/ScanFolder.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/TextFileWriter.h"

#include <deque>

namespace quorvix {
namespace {

constexpr const char* StatusOk = "OK";
constexpr const char* StatusNameNotStorable = "Name cannot be stored in a check file";

std::string FileLine(const std::string& name, const char* status) {
    return "Processing file \"" + name + "\" ... " + status;
}

// The walk's steps that are ahead of the log, with their files handed to the pipeline.
class WalkAhead {
public:
    WalkAhead(ScanFolder& walk, DigestPipeline& pipeline) : walk_(walk), pipeline_(pipeline) {}

    // The next step in walk order, or nothing when the walk is over.
    std::optional<WalkStep> Next() {
        Fill();
        if (ahead_.empty()) {
            return std::nullopt;
        }
        WalkStep step = std::move(ahead_.front());
        ahead_.pop_front();
        return step;
    }

private:
    void Fill() {
        // Steps without a file cost no digest; the bound on them only keeps memory flat in a
        // tree of many empty folders.
        while (!walkOver_ && pipeline_.HasRoom() && ahead_.size() < 4 * pipeline_.MaxFilesAhead()) {
            std::optional<WalkStep> step = walk_.Next();
            if (!step) {
                walkOver_ = true;
                break;
            }
            if (step->kind == WalkStep::Kind::File) {
                pipeline_.Submit(step->location);
            }
            ahead_.push_back(std::move(*step));
        }
    }

    ScanFolder& walk_;
    DigestPipeline& pipeline_;
    std::deque<WalkStep> ahead_;
    bool walkOver_ = false;
};

} // namespace

CheckFileLocation CheckFileLocationOf(const std::string& folderText) {
    CheckFileLocation location{folderText, 0, {}};
    if (!EndsWithPathSeparator(folderText)) {
        location.folderPrefix.push_back(PathSeparator);
    }
    location.BasePrefixLength = location.folderPrefix.size();
    location.checkFilePath = location.folderPrefix + CheckFileName;
    return location;
}

MakerResult CheckFileMaker(const std::string& folderText, bool includeSubfolders, LogSink& log,
                           const JobHooks& hooks, unsigned workers) {
    log.Clear();

    const CheckFileLocation location = CheckFileLocationOf(folderText);
    const std::string& checkFilePath = location.checkFilePath;

    // The new check file grows under a temporary name and replaces the old one only when it is
    // complete, so a failed or cancelled run leaves the previous check file as it was.
    TextFileWriter checkFile(checkFilePath);
    for (const std::string& line : CheckFileHeader(hooks.Now(), hooks.TimeSeparator())) {
        checkFile.WriteLine(line);
    }

    MakerResult result;
    JobProgressCounts progress;
    ScanFolder walk(location.folderPrefix, location.BasePrefixLength, includeSubfolders);
    // Declared after the walk, so its workers stop before the folders they read are closed.
    DigestPipeline pipeline(FileChecker(hooks), workers);
    WalkAhead steps(walk, pipeline);
    const std::function<void()> whileWaiting = [&hooks] { hooks.RunPendingEvents(); };
    while (std::optional<WalkStep> step = steps.Next()) {
        hooks.RunPendingEvents();
        if (hooks.CancelRequested()) {
            result.cancelled = true;
            log.Append("操作已取消。");
            return result;
        }
        switch (step->kind) {
        case WalkStep::Kind::EnterFolder:
            log.Append("Processing folder \"" + step->text + "\" ...");
            break;
        case WalkStep::Kind::FolderFailed:
            log.Append(step->text);
            ++result.filesLeftOut;
            break;
        case WalkStep::Kind::NameNotStorable:
            log.Append(FileLine(step->text, StatusNameNotStorable));
            ++result.filesLeftOut;
            break;
        case WalkStep::Kind::File: {
            const FileCheckResult checked = pipeline.TakeNext(whileWaiting);
            progress.filesDone = pipeline.Taken();
            progress.filesKnown = pipeline.Submitted();
            progress.bytesDone += checked.bytes;
            hooks.ReportFiles(progress);
            if (checked.outcome != FileCheckOutcome::Digested) {
                log.Append(FileLine(step->text, CouldNotOpenFileText));
                ++result.filesLeftOut;
                break;
            }
            // A check file that cannot be written is not the file's fault: that ends the run.
            checkFile.WriteLine(CheckFileEntryLine(
                DigestToHex(checked.digest),
                std::string_view(step->location.fullPath).substr(location.BasePrefixLength)));
            ++result.filesListed;
            log.Append(FileLine(step->text, StatusOk));
            break;
        }
        }
    }
    checkFile.Commit();

    log.Append("");
    log.Append("操作完成。");
    log.Append("MD5 校验文件保存在 \"" + checkFilePath + "\"");
    return result;
}

} // namespace quorvix
