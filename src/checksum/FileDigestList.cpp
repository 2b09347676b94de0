#include "checksum/FileDigestList.h"

#include "checksum/FileDigest.h"
#include "platform/OpenProbe.h"
#include "platform/TextFileWriter.h"

#include <algorithm>
#include <stdexcept>

namespace quorvix {

FileDigestList::FileDigestList(JobHooks hooks) : hooks_(std::move(hooks)) {}

void FileDigestList::AddFile(const std::string& path) {
    // Nested adds append while events run, so the row is remembered by position, not reference.
    const std::size_t index = rows_.size();
    rows_.push_back({path, std::nullopt});
    if (observer_ != nullptr) {
        observer_->RowAppended(index);
    }

    std::string result = CouldNotOpenFileText;
    // Events run only around a digest; a file that fails the probe is done at once.
    const bool readable = OpenProbe(path);
    if (readable) {
        hooks_.RunPendingEvents();
        try {
            result = LowerCaseAscii(hooks_.DigestText(path));
        } catch (const std::exception&) {
            // The file passed the probe but could not be read to the end (it vanished, lost its
            // permissions or failed on disk): the row says so and the batch goes on.
        }
    }
    rows_[index].ResultText = std::move(result);
    if (observer_ != nullptr) {
        observer_->RowCompleted(index);
    }
    if (readable) {
        hooks_.RunPendingEvents();
    }
}

void FileDigestList::AddFiles(std::vector<std::string> paths) {
    for (const std::string& path : paths) {
        AddFile(path);
    }
}

bool FileDigestList::HasPendingRow() const {
    return std::any_of(rows_.begin(), rows_.end(),
                       [](const FileDigestRow& row) { return !row.ResultText; });
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
    return row.Path + "     " + row.ResultText.value_or("");
}

} // namespace quorvix
