#include "platform/InterruptCleanupSlots.h"
#include "platform/InterruptCleanup.h"

#include <atomic>
#include <cstddef>
#include <cstring>

namespace quorvix {
namespace {

// A signal handler may read only what needs no lock and no allocation: fixed slots, each with
// its own path buffer and a flag that says whether it holds a path.
constexpr int SlotCount = 16;
constexpr std::size_t PathCapacity = 4096;

struct Slot {
    std::atomic<bool> used{false};
    std::atomic<bool> ready{false};
    char path[PathCapacity];
};

Slot slots[SlotCount];

} // namespace

void interrupt_cleanup::ForEachRemembered(void (*remove)(const char* path)) {
    for (Slot& slot : slots) {
        if (slot.ready.load()) {
            remove(slot.path);
        }
    }
}

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

} // namespace quorvix
