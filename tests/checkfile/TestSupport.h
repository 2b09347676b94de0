// Temporary folders, files and a recording log for the check-file tests.
#pragma once

#include "checksum/LogSink.h"

#include "../support/TempFolder.h"

#include <string>
#include <vector>

namespace quorvix::test {

// The upper-case digest text of bytes, computed in memory.
std::string DigestTextOf(const std::string& bytes);

// Remembers every line; Clear empties it and is counted.
class RecordingLogSink final : public LogSink {
public:
    void Clear() override {
        lines.clear();
        ++clears;
    }
    void Append(const std::string& line) override { lines.push_back(line); }

    std::vector<std::string> lines;
    int clears = 0;
};

// Changes the current folder for as long as the object lives.
class CurrentFolderChange {
public:
    explicit CurrentFolderChange(const std::string& folder);
    CurrentFolderChange(const CurrentFolderChange&) = delete;
    CurrentFolderChange& operator=(const CurrentFolderChange&) = delete;
    ~CurrentFolderChange();

private:
    std::string previous_;
};

} // namespace quorvix::test
