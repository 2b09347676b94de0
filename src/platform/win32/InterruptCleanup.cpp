#include "platform/InterruptCleanup.h"

#include "platform/InterruptCleanupSlots.h"
#include "platform/win32/SystemText.h"

#include <windows.h>

// Windows has no signals for these events: the console calls a handler, on a thread of its own,
// for Ctrl+C, Ctrl+Break and the closing of the console window, log-off or shut-down. A broken
// pipe is an ordinary write error there.

namespace quorvix {
namespace {

// The exit statuses the POSIX build gives for the matching signals: SIGINT's 130 for Ctrl+C and
// Ctrl+Break, SIGHUP's 129 when the console goes away.
BOOL WINAPI RemoveTemporaryFilesAndExit(DWORD event) {
    interrupt_cleanup::ForEachRemembered(
        [](const char* path) { ::DeleteFileW(win32::SystemPath(path).c_str()); });
    ::ExitProcess(event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? 130 : 129);
}

} // namespace

void RemoveTemporaryFilesOnInterrupt() {
    ::SetConsoleCtrlHandler(RemoveTemporaryFilesAndExit, TRUE);
}

} // namespace quorvix
