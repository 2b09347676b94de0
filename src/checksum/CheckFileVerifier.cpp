#include "checksum/CheckFileVerifier.h"

#include "checksum/CheckFileFormat.h"
#include "checksum/CheckFileLineParser.h"
#include "checksum/DigestPipeline.h"
#include "checksum/EntryPathResolver.h"
#include "checksum/OutcomeTexts.h"
#include "checksum/SilentChange.h"
#include "checksum/TextLineReader.h"
#include "checksum/UnlistedFiles.h"
#include "platform/FileSystem.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace quorvix {
namespace {

// The counts and lists of one verification.
struct Tally {
    std::uint64_t unchanged = 0;
    std::vector<std::string> changed;
    std::vector<std::string> missing;
    std::vector<std::string> unreadable;
    std::vector<std::string> silentlyChanged;
    std::vector<std::string> unlisted;

    std::uint64_t Total() const {
        return unchanged + changed.size() + missing.size() + unreadable.size();
    }

    VerificationCounts Counts() const {
        VerificationCounts counts;
        counts.unchanged = unchanged;
        counts.changed = changed.size();
        counts.missing = missing.size();
        counts.unreadable = unreadable.size();
        counts.silentlyChanged = silentlyChanged.size();
        counts.unlisted = unlisted.size();
        return counts;
    }
};

std::string QuotedLine(const char* outcome, const std::string& path) {
    return std::string(outcome) + " ... \"" + path + "\"";
}

// A count followed by its sentence; one item (and none) takes the singular.
std::string Sentence(std::uint64_t count, const char* singular, const char* plural) {
    return std::to_string(count) + (count >= 2 ? plural : singular);
}

std::string SummaryLine(const Tally& tally, bool withUnlisted) {
    std::string summary = Sentence(tally.Total(), " file was verified. ", " files were verified. ");
    if (!tally.missing.empty()) {
        summary +=
            Sentence(tally.missing.size(), " file did not exist. ", " files did not exist. ");
    }
    if (!tally.unreadable.empty()) {
        summary += Sentence(tally.unreadable.size(), " file could not be opened. ",
                            " files could not be opened. ");
    }
    summary += Sentence(tally.changed.size(), " file changed. ", " files changed. ");
    if (withUnlisted) {
        summary +=
            Sentence(tally.unlisted.size(), " file was not listed. ", " files were not listed. ");
    }
    return summary;
}

void AppendSection(LogSink& log, const char* header, const std::vector<std::string>& paths) {
    if (paths.empty()) {
        return;
    }
    log.Append("");
    log.Append(header);
    for (const std::string& path : paths) {
        log.Append(path);
    }
}

} // namespace

void CheckFileVerifier(const std::string& checkFilePath, LogSink& log, const JobHooks& hooks,
                       const VerifyOptions& options) {
    VerifyCheckFile(checkFilePath, log, hooks, options);
}

VerificationCounts VerifyCheckFile(const std::string& checkFilePath, LogSink& log,
                                   const JobHooks& hooks, const VerifyOptions& options,
                                   unsigned workers) {
    return VerifyCheckFileFrom(checkFilePath, CheckFileFolderPrefix(checkFilePath), log, hooks,
                               options, workers);
}

VerificationCounts VerifyCheckFileFrom(const std::string& readPath, const std::string& prefix,
                                       LogSink& log, const JobHooks& hooks,
                                       const VerifyOptions& options, unsigned workers) {
    Tally tally;
    JobProgressCounts progress;
    const EntryPathResolver paths(prefix, options.legacyEncoding);
    // Whatever the sink showed is gone from here on, also when the check file cannot be opened.
    log.Clear();

    TextLineReader reader(readPath);
    CheckFileLineParser parser;
    ListedFiles listed;
    DigestPipeline pipeline(FileChecker(hooks), workers);
    // Entry lines are read ahead of the log as far as the pipeline has room; their paths and
    // digests wait here, in check file order, for their results.
    struct Pending {
        std::string path;
        std::string digestField;
    };
    std::deque<Pending> ahead;
    bool linesOver = false;
    std::string line;
    const auto readAhead = [&] {
        while (!linesOver && pipeline.HasRoom()) {
            if (!reader.NextLine(line)) {
                linesOver = true;
                break;
            }
            const std::optional<ChecksumLine> entry = parser.Parse(line);
            if (!entry) {
                continue;
            }
            std::string path = paths.Resolve(*entry);
            if (options.listUnlisted) {
                listed.Add(path);
            }
            pipeline.Submit({path, nullptr, {}});
            ahead.push_back({std::move(path), entry->digestField});
        }
    };
    const std::function<void()> whileWaiting = [&hooks] { hooks.RunPendingEvents(); };

    for (readAhead(); !ahead.empty(); readAhead()) {
        if (hooks.CancelRequested()) {
            log.Append("操作已取消。");
            VerificationCounts counts = tally.Counts();
            counts.cancelled = true;
            return counts;
        }
        Pending entry = std::move(ahead.front());
        ahead.pop_front();
        std::string& path = entry.path;

        // A missing file is never opened, and one that cannot be opened is never digested; one
        // that cannot be read to its end is unreadable too, so that a single busy file cannot
        // end the verification.
        const FileCheckResult result = pipeline.TakeNext(whileWaiting);
        progress.filesDone = pipeline.Taken();
        progress.filesKnown = pipeline.Submitted();
        progress.bytesDone += result.bytes;
        hooks.ReportFiles(progress);
        if (result.outcome == FileCheckOutcome::Missing) {
            log.Append(QuotedLine("文件不存在", path));
            tally.missing.push_back(std::move(path));
        } else if (result.outcome == FileCheckOutcome::Unreadable) {
            log.Append(QuotedLine(CouldNotOpenFileText, path));
            tally.unreadable.push_back(std::move(path));
        } else if (DigestsMatch(entry.digestField, DigestToHex(result.digest))) {
            log.Append(QuotedLine("OK", path));
            ++tally.unchanged;
        } else {
            log.Append(QuotedLine("File changed", path));
            if (ChangedWithoutBeingWritten(parser.MadeAt(), path)) {
                tally.silentlyChanged.push_back(path);
            }
            tally.changed.push_back(std::move(path));
        }
    }

    if (options.listUnlisted) {
        // A check file read from standard input is no file of the folder to pass over.
        const std::string ownPath = readPath == StandardInputPath() ? prefix + "-" : readPath;
        tally.unlisted = FindUnlistedFiles(ownPath, options.unlistedIncludeSubfolders, listed);
    }

    log.Append("");
    log.Append("Operation completes.");
    log.Append(SummaryLine(tally, options.listUnlisted));
    AppendSection(log, "下面的文件因为检查文件已被更改:", tally.changed);
    AppendSection(log, "下列文件内容已变但修改时间未变 (可能已损坏):", tally.silentlyChanged);
    AppendSection(log, "下列文件丢失:", tally.missing);
    AppendSection(log, "下列文件 MD5 校验和计算过程无法打开:", tally.unreadable);
    AppendSection(log, "未列出的文件:", tally.unlisted);
    return tally.Counts();
}

} // namespace quorvix
