// The thin progress bar at the bottom left of the frame, shown only while a job runs.
#pragma once

#include <cstddef>
#include <cstdint>

class QProgressBar;

namespace quorvix {

// Jobs may nest (a batch started while another lets events run); the bar sums them up. For
// batches of the file digest list it shows files done of files known plus the part read of the
// current file; for the maker and the verifier, whose number of files is not known ahead, it
// shows the part read of a large file, and otherwise that something is running.
class JobProgress {
public:
    // The bar must outlive this object; it is hidden until a job starts.
    explicit JobProgress(QProgressBar* bar);

    void BatchStarted(std::size_t fileCount);
    void BatchFileDone();
    void BatchEnded();

    void JobStarted();
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
    std::uint64_t fileRead_ = 0;
    std::uint64_t fileSize_ = 0;
};

} // namespace quorvix
