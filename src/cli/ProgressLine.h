// A one-line progress report on standard error, redrawn in place while a job runs.
#pragma once

#include "checksum/JobHooks.h"
#include "cli/CommandLine.h"

#include <chrono>
#include <ostream>

namespace quorvix::cli {

// Shows files done of files known, bytes, rate and time left as one line that is rewritten in
// place (carriage return, then erase to the end of the line). Meant for a terminal: nothing of it
// ever reaches standard output. Redraws at most ten times a second.
class ProgressLine {
public:
    // Draws nothing unless enabled.
    ProgressLine(std::ostream& err, bool enabled);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // Takes new counts; redraws when the last drawing is old enough.
    void Update(const JobProgressCounts& counts);
    // Redraws with the clock moved on, when due (while a large file is digested).
    void Tick();
    // Erases the line, so that a message or the shell's prompt starts on a clean line.
    void Clear();

private:
    void Draw();

    std::ostream& err_;
    bool enabled_;
    bool drawn_ = false;
    JobProgressCounts counts_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDrawn_;
};

// The hooks that keep progress up to date during a job.
JobHooks ProgressHooks(ProgressLine& progress);

// Whether a command shows its progress line: "--progress" and "--no-progress" decide, and
// otherwise it is shown when standard error is a terminal. Cannot fail.
bool ProgressWanted(const CommandLine& commandLine);

} // namespace quorvix::cli
