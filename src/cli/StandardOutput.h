// Standard output as the commands write it: line by line, flushed, with a failure remembered.
#pragma once

#include <ostream>
#include <string>

namespace quorvix::cli {

// Writes lines to a stream and notices when they do not arrive (a full disk, a closed pipe), so
// that lost output is never reported as success.
class StandardOutput {
public:
    // With flushEachLine, every line goes out at once (someone is watching a terminal);
    // otherwise lines go out in large writes, which saves a system call per line.
    explicit StandardOutput(std::ostream& out, bool flushEachLine = true)
        : out_(out), flushEachLine_(flushEachLine) {}

    // Writes the line and a newline. After a failure nothing more is written.
    void WriteLine(const std::string& line);

    // Sends out whatever is still buffered. Throws InputOutputError naming standard output and
    // the system's reason when any line did not arrive, so lost output never passes for success.
    void Finish();

private:
    void Check();
    std::string FailureMessage() const;

    std::ostream& out_;
    bool flushEachLine_;
    bool failed_ = false;
    int errorNumber_ = 0;
};

// True when out is the process's standard output and that is a terminal: a person watches the
// lines come, so each goes out at once.
bool OutputIsWatched(const std::ostream& out);

} // namespace quorvix::cli
