// Temporary files that must not outlive the program, also when it is interrupted.
#pragma once

namespace quorvix {

// Remembers a temporary file to remove if the program is interrupted before it is done with
// it. Keeps the path in storage of its own; a path too long for it, or more files at once than
// it has room for, is simply not remembered. Async-signal-safe to read; cannot fail.
class InterruptCleanupEntry {
public:
    explicit InterruptCleanupEntry(const char* path);
    ~InterruptCleanupEntry();
    InterruptCleanupEntry(const InterruptCleanupEntry&) = delete;
    InterruptCleanupEntry& operator=(const InterruptCleanupEntry&) = delete;

private:
    int slot_ = -1;
};

// Makes an interrupt (Ctrl+C), a termination request, a hang-up or a broken pipe remove every
// remembered temporary file and end the program with the status 128 + the signal's number
// (130, 143, 129, 141), as a shell reports a program killed by it. For a command-line program;
// call once at start. Cannot fail.
void RemoveTemporaryFilesOnInterrupt();

} // namespace quorvix
