#include "checksum/FileDigestList.h"

#include "checksum/DigestPipeline.h"
#include "checksum/FileDigest.h"
#include "checksum/OutcomeTexts.h"
#include "platform/TextFileWriter.h"

#include <algorithm>
#include <stdexcept>

namespace quorvix {

FileDigestList::FileDigestList(JobHooks hooks) : hooks_(hooks), checker_(std::move(hooks)) {}

std::optional<std::string> FileDigestRow::ResultText() const {
    if (!Result) {
        return std::nullopt;
    }
    if (Result->outcome != FileCheckOutcome::Digested) {
        return CouldNotOpenFileText;
    }
    return LowerCaseAscii(DigestToHex(Result->digest));
}

std::size_t FileDigestList::AppendRow(const std::string& path) {
    // Nested adds append while events run, so a row is remembered by position, not reference.
    const std::size_t index = rows_.size();
    rows_.push_back({path, std::nullopt});
    if (observer_ != nullptr) {
        observer_->RowAppended(index);
    }
    return index;
}

void FileDigestList::CompleteRow(std::size_t index, const FileCheckResult& result) {
    rows_[index].Result = result;
    if (observer_ != nullptr) {
        observer_->RowCompleted(index);
    }
}

void FileDigestList::AddFile(const std::string& path) {
    const std::size_t index = AppendRow(path);
    // Events run only around a digest; a file that cannot be opened is done at once. A missing
    // file and an unreadable one read alike in the list ("Could not open file").
    auto opened = checker_.Open({path, nullptr, {}});
    auto* file = std::get_if<std::unique_ptr<FileStream>>(&opened);
    FileCheckResult result;
    if (const auto* outcome = std::get_if<FileCheckOutcome>(&opened)) {
        result.outcome = *outcome;
    } else {
        hooks_.RunPendingEvents();
        result = checker_.Digest(**file);
        file->reset();
    }
    CompleteRow(index, result);
    if (file != nullptr) {
        hooks_.RunPendingEvents();
    }
}

bool FileDigestList::AddFiles(std::vector<std::string> paths) {
    if (workers_ <= 1) {
        for (const std::string& path : paths) {
            if (hooks_.CancelRequested()) {
                return false;
            }
            AddFile(path);
        }
        return true;
    }
    DigestPipeline pipeline(checker_, workers_);
    std::size_t submitted = 0;
    const std::function<void()> whileWaiting = [this] { hooks_.RunPendingEvents(); };
    for (const std::string& path : paths) {
        if (hooks_.CancelRequested()) {
            return false;
        }
        while (submitted < paths.size() && pipeline.HasRoom()) {
            pipeline.Submit({paths[submitted++], nullptr, {}});
        }
        const std::size_t index = AppendRow(path);
        CompleteRow(index, pipeline.TakeNext(whileWaiting));
        hooks_.RunPendingEvents();
    }
    return true;
}

bool FileDigestList::HasPendingRow() const {
    return std::any_of(rows_.begin(), rows_.end(),
                       [](const FileDigestRow& row) { return !row.Result; });
}

void FileDigestList::SaveList(const std::string& target) const {
    if (HasPendingRow()) {
        throw std::runtime_error(
            "The list cannot be saved while files are still being digested. Save it again when "
            "every file shows its result");
    }
    TextFileWriter writer(target);
    for (const FileDigestRow& row : rows_) {
        writer.WriteLine(SavedListLine(row));
    }
    writer.Commit();
}

std::string SavedListLine(const FileDigestRow& row) {
    return row.Path + "     " + row.ResultText().value_or("");
}

} // namespace quorvix
