#include "checksum/DigestPipeline.h"

#include "md5/LaneFeed.h"
#include "platform/FileErrors.h"

#include <algorithm>
#include <chrono>
#include <map>

namespace quorvix {
namespace {

// Enough files ahead that every lane of every worker always has its next file opened and
// waiting, few enough that a window still shows the walk moving file by file.
constexpr std::size_t FilesAheadPerLane = 2;
constexpr std::size_t MinimumFilesAheadPerWorker = 64;

constexpr auto WaitSlice = std::chrono::milliseconds(15);
constexpr std::size_t ResultsPerWakeUp = 16;

std::size_t FilesAhead(unsigned workers, LaneEngine engine) {
    if (workers <= 1) {
        return 1;
    }
    return workers * std::max(MinimumFilesAheadPerWorker, FilesAheadPerLane * LaneCount(engine));
}

} // namespace

unsigned DefaultWorkerCount() {
    const unsigned threads = std::thread::hardware_concurrency();
    return threads == 0 ? 1 : threads;
}

// Feeds the lanes of one worker from the pipeline: opens the next files as lanes come free and
// stores each result as its digest is done. Files that cannot be opened never take a lane.
class DigestPipeline::LaneWorker final : public LaneFeed {
public:
    explicit LaneWorker(DigestPipeline& pipeline) : pipeline_(pipeline) {}

    std::optional<LaneInput> Next(bool mayWait) override {
        for (;;) {
            std::optional<std::size_t> sequence;
            {
                std::unique_lock lock(pipeline_.mutex_);
                if (mayWait) {
                    pipeline_.WaitForWork(lock);
                }
                if (pipeline_.stopping_) {
                    return std::nullopt;
                }
                sequence = pipeline_.StartNext();
                if (!sequence) {
                    return std::nullopt;
                }
            }
            const FileLocation location = LocationOf(*sequence);
            try {
                auto opened = pipeline_.checker_.Open(location);
                if (auto* file = std::get_if<std::unique_ptr<FileStream>>(&opened)) {
                    FileStream& stream = **file;
                    // A stop ends a large file at its next chunk instead of at its end.
                    stream.SetProgress([this](std::uint64_t bytesRead, std::uint64_t size) {
                        if (pipeline_.stopRequested_.load(std::memory_order_relaxed)) {
                            throw InputOutputError("stopped");
                        }
                        const ReadProgress& report = pipeline_.checker_.Hooks().readProgress;
                        if (report) {
                            report(bytesRead, size);
                        }
                    });
                    open_.emplace(*sequence, std::move(*file));
                    return LaneInput{*sequence, &stream};
                }
                pipeline_.Store(*sequence, FileCheckResult{std::get<FileCheckOutcome>(opened), {}},
                                nullptr);
            } catch (...) {
                pipeline_.Store(*sequence, std::nullopt, std::current_exception());
            }
        }
    }

    void Done(std::size_t id, std::optional<Md5Digest> digest,
              std::exception_ptr failure) override {
        const auto file = open_.find(id);
        std::optional<FileCheckResult> result;
        std::exception_ptr otherFailure;
        try {
            result = pipeline_.checker_.Finish(*file->second, digest, failure);
        } catch (...) {
            otherFailure = std::current_exception();
        }
        open_.erase(file);
        pipeline_.Store(id, result, otherFailure);
    }

    // Gives every file still in the lanes the failure that ended them.
    void FailOpenFiles(std::exception_ptr failure) {
        for (const auto& [id, file] : open_) {
            pipeline_.Store(id, std::nullopt, failure);
        }
        open_.clear();
    }

private:
    FileLocation LocationOf(std::size_t sequence) {
        const std::lock_guard lock(pipeline_.mutex_);
        return pipeline_.slots_[sequence - pipeline_.taken_].location;
    }

    DigestPipeline& pipeline_;
    std::map<std::size_t, std::unique_ptr<FileStream>> open_;
};

DigestPipeline::DigestPipeline(FileChecker checker, unsigned workers, LaneEngine engine)
    : checker_(std::move(checker)), maxAhead_(FilesAhead(workers, engine)) {
    if (workers <= 1) {
        return;
    }
    const bool lanes =
        checker_.UsesPlainDigest() && LaneCount(engine) > 1 && LaneEngineSupported(engine);
    workers_.reserve(workers);
    try {
        for (unsigned i = 0; i < workers; ++i) {
            if (lanes) {
                workers_.emplace_back([this, engine] { WorkInLanes(engine); });
            } else {
                workers_.emplace_back([this] { Work(); });
            }
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
        stopRequested_ = true;
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
    bool wake = false;
    {
        const std::lock_guard lock(mutex_);
        slots_.push_back({std::move(location), std::nullopt, nullptr});
        ++submitted_;
        // Waking a thread costs a system call; busy workers find the file on their own.
        wake = idleWorkers_ > 0;
    }
    if (wake) {
        workAvailable_.notify_one();
    }
}

void DigestPipeline::WaitForWork(std::unique_lock<std::mutex>& lock) {
    ++idleWorkers_;
    workAvailable_.wait(lock, [this] { return stopping_ || started_ < submitted_; });
    --idleWorkers_;
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
        jobWaiting_ = true;
        // Woken once a few results are ready rather than for each: every wake-up is a pair of
        // system calls, and the results of small files come in quick bursts.
        wakeAt_ = std::min(taken_ + ResultsPerWakeUp, submitted_) - 1;
        if (!whileWaiting) {
            resultReady_.wait(lock);
            jobWaiting_ = false;
            continue;
        }
        resultReady_.wait_for(lock, WaitSlice);
        jobWaiting_ = false;
        if (!(slots_.front().result || slots_.front().failure)) {
            lock.unlock();
            whileWaiting();
            lock.lock();
        }
    }
}

bool DigestPipeline::Ready(const Slot& slot) {
    return slot.result || slot.failure;
}

std::optional<std::size_t> DigestPipeline::StartNext() {
    if (started_ == submitted_) {
        return std::nullopt;
    }
    return started_++;
}

void DigestPipeline::Store(std::size_t sequence, std::optional<FileCheckResult> result,
                           std::exception_ptr failure) {
    bool wake = false;
    {
        const std::lock_guard lock(mutex_);
        // The slot cannot have been taken: the job takes results in order and waits for this one.
        Slot& slot = slots_[sequence - taken_];
        slot.result = result;
        slot.failure = failure;
        // Only the result the job waits for is worth waking it.
        wake = jobWaiting_ && Ready(slots_.front()) && Ready(slots_[wakeAt_ - taken_]);
    }
    if (wake) {
        resultReady_.notify_one();
    }
}

void DigestPipeline::Work() {
    for (;;) {
        std::size_t sequence = 0;
        FileLocation location;
        {
            std::unique_lock lock(mutex_);
            WaitForWork(lock);
            if (stopping_) {
                return;
            }
            sequence = *StartNext();
            // Slots before taken_ are gone; the deque's index is relative to it. The location is
            // copied so that the deque may grow while the file is checked.
            location = slots_[sequence - taken_].location;
        }
        std::optional<FileCheckResult> result;
        std::exception_ptr failure;
        try {
            result = checker_.Check(location);
        } catch (...) {
            failure = std::current_exception();
        }
        Store(sequence, result, failure);
    }
}

void DigestPipeline::WorkInLanes(LaneEngine engine) {
    LaneWorker feed(*this);
    try {
        DigestStreamsInLanes(feed, engine);
        return;
    } catch (...) {
        // Only memory running out gets here (the feed stores every file's own failure in its
        // slot): the files in the lanes carry the failure to the job, and this worker goes on
        // one file at a time.
        feed.FailOpenFiles(std::current_exception());
    }
    Work();
}

} // namespace quorvix
