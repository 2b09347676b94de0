// The list of files with their digests behind the file digest page.
#pragma once

#include "checksum/FileCheck.h"
#include "checksum/JobHooks.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quorvix {

struct FileDigestRow {
    std::string Path;                      // exactly as handed to AddFile
    std::optional<FileCheckResult> Result; // absent while the file is being digested

    // What the row shows: the lower-case digest text, "Could not open file", or nothing while
    // the file is being digested.
    std::optional<std::string> ResultText() const;
    bool Readable() const { return Result && Result->outcome == FileCheckOutcome::Digested; }
};

// Told of every change to the list, so a view can follow it without polling.
class FileDigestListObserver {
public:
    virtual ~FileDigestListObserver() = default;
    virtual void RowAppended(std::size_t index) = 0;
    virtual void RowCompleted(std::size_t index) = 0;
};

// Rows are only ever appended; a row's position identifies it for the life of the list. Adds
// may nest: while one add lets pending events run, another may append rows after its own.
class FileDigestList {
public:
    // hooks.letPendingEventsRun runs before and after each digest; hooks.digestStream computes
    // it; hooks.cancelRequested is asked before each file of a batch. The clock is not used.
    explicit FileDigestList(JobHooks hooks = {});

    // How many threads digest the files of a batch ahead of its rows (1, the default: one file
    // at a time, with events around each digest). Rows, their order and their results are the
    // same either way.
    void SetWorkerCount(unsigned workers) { workers_ = workers; }

    // The observer must outlive the list or be replaced by nullptr first.
    void SetObserver(FileDigestListObserver* observer) { observer_ = observer; }

    // Appends a row for the path and fills in its result. A file that fails the open probe, or
    // whose digest then fails, gets "Could not open file"; nothing is thrown for it.
    void AddFile(const std::string& path);

    // AddFile for each path in order. Takes its own copy, so that work started while events
    // run cannot change the batch. Once cancelled, the remaining paths get no row at all.
    // Returns false when the batch was cancelled.
    bool AddFiles(std::vector<std::string> paths);

    // Writes every row as "<path>     <result>" with CR LF to the target, replacing it only once
    // the whole list is written. Throws std::runtime_error, before touching the target, while a
    // row has no result yet, and InputOutputError when the file cannot be written.
    void SaveList(const std::string& target) const;

    std::size_t RowCount() const { return rows_.size(); }
    const FileDigestRow& Row(std::size_t index) const { return rows_.at(index); }
    // True while some row is still waiting for its result.
    bool HasPendingRow() const;

private:
    // Appends a row without a result and tells the observer; gives its position.
    std::size_t AppendRow(const std::string& path);
    // Gives the row at index its result and tells the observer.
    void CompleteRow(std::size_t index, const FileCheckResult& result);

    JobHooks hooks_;
    FileChecker checker_;
    unsigned workers_ = 1;
    FileDigestListObserver* observer_ = nullptr;
    std::vector<FileDigestRow> rows_;
};

// The line a row gives in a saved list, without its line end.
std::string SavedListLine(const FileDigestRow& row);

} // namespace quorvix
