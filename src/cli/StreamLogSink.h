// A job log printed to a stream as it grows.
#pragma once

#include "checksum/LogSink.h"

#include <ostream>

namespace quorvix::cli {

// Writes each appended line and a newline, flushed at once so that a long run shows progress. A
// printed line cannot be taken back, so clearing does nothing.
class StreamLogSink final : public LogSink {
public:
    explicit StreamLogSink(std::ostream& out) : out_(out) {}
    void Clear() override {}
    void Append(const std::string& line) override { out_ << line << '\n' << std::flush; }

private:
    std::ostream& out_;
};

} // namespace quorvix::cli
