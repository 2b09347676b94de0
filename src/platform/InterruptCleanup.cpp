#include "platform/InterruptCleanup.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace quorvix {
namespace {

// A signal handler may read only what needs no lock and no allocation: fixed slots, each
// with its own path buffer and a flag that says whether it holds a path.
constexpr int SlotCount = 16;
constexpr std::size_t PathCapacity = 4096;

struct Slot {
    std::atomic<bool> used{false};
    std::atomic<bool> ready{false};
    char path[PathCapacity];
};

Slot slots[SlotCount];

extern "C" void RemoveTemporaryFilesAndExit(int signalNumber) {
    for (Slot& slot : slots) {
        if (slot.ready.load()) {
            ::unlink(slot.path);
        }
    }
    ::_exit(128 + signalNumber);
}

} // namespace

InterruptCleanupEntry::InterruptCleanupEntry(const char* path) {
    const std::size_t length = std::strlen(path);
    if (length >= PathCapacity) {
        return;
    }
    for (int i = 0; i < SlotCount; ++i) {
        bool expected = false;
        if (slots[i].used.compare_exchange_strong(expected, true)) {
            std::memcpy(slots[i].path, path, length + 1);
            slots[i].ready.store(true);
            slot_ = i;
            return;
        }
    }
}

InterruptCleanupEntry::~InterruptCleanupEntry() {
    if (slot_ >= 0) {
        slots[slot_].ready.store(false);
        slots[slot_].used.store(false);
    }
}

void RemoveTemporaryFilesOnInterrupt() {
    struct sigaction action {};
    action.sa_handler = RemoveTemporaryFilesAndExit;
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        sigaddset(&action.sa_mask, signalNumber);
    }
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        ::sigaction(signalNumber, &action, nullptr);
    }
}

} // namespace quorvix
