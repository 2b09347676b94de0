// How far the digest of a large file has got, written by a worker thread and read by the window.
#pragma once

#include <atomic>
#include <cstdint>
#include <utility>

namespace quorvix {

// Lock-free, so a worker reading a file never waits for the window. With several large files
// read at once it shows whichever reported last: it is there to show that a long file moves,
// not to account for every byte.
class StreamProgress {
public:
    // Called by the thread reading a file after each chunk. Files below minimumSize are not
    // reported; a finished file clears what is shown. Cannot fail.
    void Report(std::uint64_t bytesRead, std::uint64_t size, std::uint64_t minimumSize) {
        if (size < minimumSize) {
            return;
        }
        if (bytesRead >= size) {
            size_.store(0, std::memory_order_relaxed);
            bytesRead_.store(0, std::memory_order_relaxed);
            return;
        }
        bytesRead_.store(bytesRead, std::memory_order_relaxed);
        size_.store(size, std::memory_order_relaxed);
    }

    // The bytes read and the size of the file last reported, or {0, 0}. Cannot fail.
    std::pair<std::uint64_t, std::uint64_t> Snapshot() const {
        return {bytesRead_.load(std::memory_order_relaxed), size_.load(std::memory_order_relaxed)};
    }

    // Forgets the last file, when a job starts or ends. Cannot fail.
    void Reset() {
        size_.store(0, std::memory_order_relaxed);
        bytesRead_.store(0, std::memory_order_relaxed);
    }

private:
    std::atomic<std::uint64_t> bytesRead_{0};
    std::atomic<std::uint64_t> size_{0};
};

} // namespace quorvix
