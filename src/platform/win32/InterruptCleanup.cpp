#include "platform/InterruptCleanup.h"

#include "platform/win32/SystemText.h"

#include <windows.h>

#include <atomic>
#include <cstring>

// Windows has no signals for these events: the console calls a handler, on a thread of its own,
// for Ctrl+C, Ctrl+Break and the closing of the console window, log-off or shut-down. A broken
// pipe is an ordinary write error there.

namespace quorvix {
namespace {

// Fixed slots, each with its own path buffer and a flag that says whether it holds a path, so the
// handler needs no lock that the interrupted thread could hold.
constexpr int SlotCount = 16;
constexpr std::size_t PathCapacity = 4096;

struct Slot {
    std::atomic<bool> used{false};
    std::atomic<bool> ready{false};
    char path[PathCapacity];
};

Slot slots[SlotCount];

// The exit statuses the POSIX build gives for the matching signals: SIGINT's 130 for Ctrl+C and
// Ctrl+Break, SIGHUP's 129 when the console goes away.
BOOL WINAPI RemoveTemporaryFilesAndExit(DWORD event) {
    for (Slot& slot : slots) {
        if (slot.ready.load()) {
            ::DeleteFileW(win32::SystemPath(slot.path).c_str());
        }
    }
    ::ExitProcess(event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? 130 : 129);
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
    ::SetConsoleCtrlHandler(RemoveTemporaryFilesAndExit, TRUE);
}

} // namespace quorvix
