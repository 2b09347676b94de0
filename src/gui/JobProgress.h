// The thin progress bar at the bottom left of the frame, shown only while a job runs.
#pragma once

#include <cstddef>
#include <cstdint>

class QProgressBar;

namespace quorvix {

// Jobs may nest (a batch started while another lets events run); the bar sums them up. It shows
// files done of files known plus the part read of the current file: for batches of the file
// digest list the batch gives the count; the maker and the verifier report what their look-ahead
// knows so far, which grows as they go. Before a job knows of any file the bar shows only that
// something is running, or the part read of a large file.
class JobProgress {
public:
    // The bar must outlive this object; it is hidden until a job starts.
    explicit JobProgress(QProgressBar* bar);

    void BatchStarted(std::size_t fileCount);
    void BatchFileDone();
    void BatchEnded();

    void JobStarted();
    // Files done and files known so far of the running maker or verifier.
    void JobFiles(std::uint64_t filesDone, std::uint64_t filesKnown);
    void JobEnded();

    // Bytes read so far of the file being digested, and its size.
    void FileRead(std::uint64_t bytesRead, std::uint64_t size);

    // Files at least this large show their own progress during a maker or verifier run.
    static constexpr std::uint64_t LargeFileSize = 8u << 20;

private:
    void Refresh();

    QProgressBar* bar_;
    int batches_ = 0;
    int otherJobs_ = 0;
    std::size_t filesKnown_ = 0;
    std::size_t filesDone_ = 0;
    std::uint64_t jobFilesKnown_ = 0;
    std::uint64_t jobFilesDone_ = 0;
    std::uint64_t fileRead_ = 0;
    std::uint64_t fileSize_ = 0;
};

} // namespace quorvix
