// Standard output as the commands write it: line by line, flushed, with a failure remembered.
#pragma once

#include <ostream>
#include <string>

namespace quorvix::cli {

// Writes lines to a stream and notices when they do not arrive (a full disk, a closed pipe), so
// that lost output is never reported as success.
class StandardOutput {
public:
    explicit StandardOutput(std::ostream& out) : out_(out) {}

    // Writes the line and a newline and flushes them. After a failure nothing more is written.
    void WriteLine(const std::string& line);

    // True once a write failed.
    bool Failed() const { return failed_; }
    // The message for a failed write, naming standard output and the system's reason.
    std::string FailureMessage() const;

private:
    std::ostream& out_;
    bool failed_ = false;
    int errorNumber_ = 0;
};

} // namespace quorvix::cli
