#include "platform/InterruptCleanup.h"

#include "platform/InterruptCleanupSlots.h"

#include <signal.h>
#include <unistd.h>

#include <initializer_list>

namespace quorvix {
namespace {

extern "C" void RemoveTemporaryFilesAndExit(int signalNumber) {
    // unlink and _exit are async-signal-safe.
    interrupt_cleanup::ForEachRemembered([](const char* path) { ::unlink(path); });
    ::_exit(128 + signalNumber);
}

} // namespace

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
