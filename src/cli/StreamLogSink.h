// A job log printed to standard output as it grows.
#pragma once

#include "checksum/LogSink.h"
#include "cli/StandardOutput.h"

namespace quorvix::cli {

// Writes each appended line at once, so that a long run shows progress. A printed line cannot be
// taken back, so clearing does nothing.
class StreamLogSink final : public LogSink {
public:
    explicit StreamLogSink(StandardOutput& out) : out_(out) {}
    void Clear() override {}
    void Append(const std::string& line) override { out_.WriteLine(line); }

private:
    StandardOutput& out_;
};

} // namespace quorvix::cli
