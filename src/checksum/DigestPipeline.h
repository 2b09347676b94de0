// Checks the files of a job on worker threads ahead of the job, handing the results back
// strictly in the order the job asked for them.
#pragma once

#include "checksum/FileCheck.h"
#include "md5/LaneEngine.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace quorvix {

// The number of workers a job uses unless told otherwise: one per hardware thread.
unsigned DefaultWorkerCount();

// The job's own loop submits the files it will need, in its order, and takes their results in
// the same order; it alone writes logs, entries and counts, so every output is the same as when
// the files are checked one at a time. Workers only open and digest. What runs ahead is bounded
// in files, so memory stays flat however large the tree: each file being read holds one read
// buffer (at most FileStream::ChunkSize), and at most MaxFilesAhead results wait to be taken.
class DigestPipeline {
public:
    // With workers 1 (or 0) no thread is started: each file is checked on the caller's thread
    // when its result is taken, exactly as a one-at-a-time run does. Otherwise each worker
    // digests as many files at once as the multi-buffer engine has lanes (engine; the best one
    // the processor has unless told), when the checker uses the plain digest.
    DigestPipeline(FileChecker checker, unsigned workers, LaneEngine engine = BestLaneEngine());
    // Stops the workers after the file each is reading and joins them; results not taken are
    // dropped. Cannot fail.
    ~DigestPipeline();
    DigestPipeline(const DigestPipeline&) = delete;
    DigestPipeline& operator=(const DigestPipeline&) = delete;

    // True while another file may be submitted.
    bool HasRoom() const;
    // True when results are waiting to be taken.
    bool HasPending() const { return submitted_ > taken_; }

    // Queues a file. Precondition: HasRoom().
    void Submit(FileLocation location);

    // The result of the oldest file submitted and not yet taken; whileWaiting runs about every
    // 15 ms while a worker is still on it. Rethrows what checking that file threw (only failures
    // that are no fault of the file, such as running out of memory). Precondition: HasPending().
    FileCheckResult TakeNext(const std::function<void()>& whileWaiting = {});

    // How many files were submitted and how many taken so far.
    std::size_t Submitted() const { return submitted_; }
    std::size_t Taken() const { return taken_; }

    // How many files may be submitted and not yet taken.
    std::size_t MaxFilesAhead() const { return maxAhead_; }

private:
    struct Slot {
        FileLocation location;
        std::optional<FileCheckResult> result;
        std::exception_ptr failure;
    };

    class LaneWorker;

    void Work();
    void WorkInLanes(LaneEngine engine);
    void StopWorkers();
    // True when a slot holds its result or its failure.
    static bool Ready(const Slot& slot);
    // Under the lock: waits until there is a file no worker has started, or a stop.
    void WaitForWork(std::unique_lock<std::mutex>& lock);
    // Under the lock: the next slot no worker has started, taken; nothing when there is none.
    std::optional<std::size_t> StartNext();
    // Stores a slot's result and wakes the job.
    void Store(std::size_t sequence, std::optional<FileCheckResult> result,
               std::exception_ptr failure);

    FileChecker checker_;
    std::size_t maxAhead_;
    std::size_t submitted_ = 0; // sequence number of the next submission
    std::size_t taken_ = 0;     // sequence number of the next result to take

    mutable std::mutex mutex_;
    std::condition_variable workAvailable_;
    std::condition_variable resultReady_;
    std::deque<Slot> slots_;  // slots_[i] is sequence number taken_ + i
    std::size_t started_ = 0; // sequence number of the next file a worker picks up
    bool stopping_ = false;
    bool jobWaiting_ = false;                // the job waits for the oldest result
    std::size_t wakeAt_ = 0;                 // ... and to be woken once this one is ready too
    unsigned idleWorkers_ = 0;               // workers waiting for a file
    std::atomic<bool> stopRequested_{false}; // read by streams in lanes, without the lock
    std::vector<std::thread> workers_;
};

} // namespace quorvix
