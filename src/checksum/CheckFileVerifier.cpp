#include "checksum/CheckFileVerifier.h"

#include "checksum/CheckFileFormat.h"
#include "checksum/FileCheck.h"
#include "checksum/TextLineReader.h"

#include <cstdint>
#include <vector>

namespace quorvix {
namespace {

// The counts and lists of one verification.
struct Tally {
    std::uint64_t unchanged = 0;
    std::vector<std::string> changed;
    std::vector<std::string> missing;
    std::vector<std::string> unreadable;

    std::uint64_t Total() const {
        return unchanged + changed.size() + missing.size() + unreadable.size();
    }
};

std::string QuotedLine(const char* outcome, const std::string& path) {
    return std::string(outcome) + " ... \"" + path + "\"";
}

// A count followed by its sentence; one item (and none) takes the singular.
std::string Sentence(std::uint64_t count, const char* singular, const char* plural) {
    return std::to_string(count) + (count >= 2 ? plural : singular);
}

std::string SummaryLine(const Tally& tally) {
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

void CheckFileVerifier(const std::string& checkFilePath, LogSink& log, const JobHooks& hooks) {
    VerifyCheckFile(checkFilePath, log, hooks);
}

VerificationCounts VerifyCheckFile(const std::string& checkFilePath, LogSink& log,
                                   const JobHooks& hooks) {
    Tally tally;
    const std::string prefix = CheckFileFolderPrefix(checkFilePath);
    // Whatever the sink showed is gone from here on, also when the check file cannot be opened.
    log.Clear();

    TextLineReader reader(checkFilePath);
    FileChecker files(hooks);
    std::string line;
    while (reader.NextLine(line)) {
        const std::optional<CheckFileEntry> entry = ParseCheckFileLine(line);
        if (!entry) {
            continue;
        }
        std::string path = prefix + entry->pathField;

        // Each test runs only when the one before passed: a missing file is never probed, and a
        // file that fails the probe is never digested. One whose digest fails after the probe is
        // unreadable too, so that a single busy file cannot end the verification.
        const FileCheckResult result = files.Check(path);
        if (result.outcome == FileCheckOutcome::Missing) {
            log.Append(QuotedLine("文件不存在", path));
            tally.missing.push_back(std::move(path));
        } else if (result.outcome == FileCheckOutcome::Unreadable) {
            log.Append(QuotedLine("Could not open file", path));
            tally.unreadable.push_back(std::move(path));
        } else if (DigestsMatch(entry->digestField, result.digestText)) {
            log.Append(QuotedLine("OK", path));
            ++tally.unchanged;
        } else {
            log.Append(QuotedLine("File changed", path));
            tally.changed.push_back(std::move(path));
        }
    }

    log.Append("");
    log.Append("Operation completes.");
    log.Append(SummaryLine(tally));
    AppendSection(log, "下面的文件因为检查文件已被更改:", tally.changed);
    AppendSection(log, "下列文件丢失:", tally.missing);
    AppendSection(log, "下列文件 MD5 校验和计算过程无法打开:", tally.unreadable);
    return {tally.unchanged, tally.changed.size(), tally.missing.size(), tally.unreadable.size()};
}

} // namespace quorvix
