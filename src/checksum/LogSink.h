#pragma once

#include <string>

namespace quorvix {

// Where a job writes its log: an ordered sequence of lines that can be cleared as a whole and
// to which one line is appended at a time. An empty line shows as a blank line.
class LogSink {
public:
    virtual ~LogSink() = default;
    virtual void Clear() = 0;
    virtual void Append(const std::string& line) = 0;
};

} // namespace quorvix
