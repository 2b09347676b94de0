#include "checksum/DigestPipeline.h"

#include <chrono>

namespace quorvix {
namespace {

// Enough files ahead that every worker always has the next one opened and waiting, few enough
// that a window still shows the walk moving file by file.
constexpr std::size_t FilesAheadPerWorker = 64;

constexpr auto WaitSlice = std::chrono::milliseconds(15);

} // namespace

unsigned DefaultWorkerCount() {
    const unsigned threads = std::thread::hardware_concurrency();
    return threads == 0 ? 1 : threads;
}

DigestPipeline::DigestPipeline(FileChecker checker, unsigned workers)
    : checker_(std::move(checker)), maxAhead_(workers <= 1 ? 1 : workers * FilesAheadPerWorker) {
    if (workers <= 1) {
        return;
    }
    workers_.reserve(workers);
    try {
        for (unsigned i = 0; i < workers; ++i) {
            workers_.emplace_back([this] { Work(); });
        }
    } catch (...) {
        StopWorkers();
        throw;
    }
}

DigestPipeline::~DigestPipeline() {
    StopWorkers();
}

void DigestPipeline::StopWorkers() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    workAvailable_.notify_all();
    for (std::thread& worker : workers_) {
        worker.join();
    }
    workers_.clear();
}

bool DigestPipeline::HasRoom() const {
    return submitted_ - taken_ < maxAhead_;
}

void DigestPipeline::Submit(FileLocation location) {
    {
        const std::lock_guard lock(mutex_);
        slots_.push_back({std::move(location), std::nullopt, nullptr});
        ++submitted_;
    }
    workAvailable_.notify_one();
}

FileCheckResult DigestPipeline::TakeNext(const std::function<void()>& whileWaiting) {
    if (workers_.empty()) {
        Slot slot = std::move(slots_.front());
        slots_.pop_front();
        ++taken_;
        ++started_;
        return checker_.Check(slot.location);
    }
    std::unique_lock lock(mutex_);
    for (;;) {
        Slot& front = slots_.front();
        if (front.result || front.failure) {
            Slot slot = std::move(front);
            slots_.pop_front();
            ++taken_;
            lock.unlock();
            if (slot.failure) {
                std::rethrow_exception(slot.failure);
            }
            return *slot.result;
        }
        if (!whileWaiting) {
            resultReady_.wait(lock);
            continue;
        }
        resultReady_.wait_for(lock, WaitSlice);
        if (!(slots_.front().result || slots_.front().failure)) {
            lock.unlock();
            whileWaiting();
            lock.lock();
        }
    }
}

void DigestPipeline::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        workAvailable_.wait(lock, [this] { return stopping_ || started_ < submitted_; });
        if (stopping_) {
            return;
        }
        const std::size_t sequence = started_++;
        // Slots before taken_ are gone; the deque's index is relative to it. The location is
        // copied so that the deque may grow while the file is checked.
        const FileLocation location = slots_[sequence - taken_].location;
        lock.unlock();

        std::optional<FileCheckResult> result;
        std::exception_ptr failure;
        try {
            result = checker_.Check(location);
        } catch (...) {
            failure = std::current_exception();
        }

        lock.lock();
        // The slot cannot have been taken: the job takes results in order and waits for this one.
        Slot& slot = slots_[sequence - taken_];
        slot.result = result;
        slot.failure = failure;
        resultReady_.notify_all();
    }
}

} // namespace quorvix
