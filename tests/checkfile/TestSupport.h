// Temporary folders, files and a recording log for the check-file tests.
#pragma once

#include "checksum/LogSink.h"

#include <string>
#include <vector>

namespace quorvix::test {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes out of scope. Path() has no final separator.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    const std::string& Path() const { return path_; }
    // Path() + "/" + relative.
    std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

    // Writes bytes to the file at relative, creating the folders on the way.
    void Write(const std::string& relative, const std::string& bytes) const;
    // Creates the folder at relative, and its parents.
    void MakeFolder(const std::string& relative) const;

private:
    std::string path_;
};

// The whole content of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

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
