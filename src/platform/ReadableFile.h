// A file opened for reading: the one place where files are opened and read for the jobs.
#pragma once

#include "platform/NativeHandle.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorvix {

class Folder;

// What an open for reading accepts besides regular files.
enum class AcceptedInput {
    RegularFiles,         // a digest: a device or a pipe could yield data without end
    RegularFilesAndPipes, // a check file may come from another program through a pipe
};

// The size of a regular file that the caller has just seen, when it opens that file.
struct SeenRegularFile {
    std::uint64_t size = 0;
};

class ReadableFile {
public:
    // Opens path for reading. The open never blocks, so a FIFO without a writer cannot hang it;
    // an accepted pipe is then switched to blocking reads. Throws FileOpenError naming the path
    // when it does not exist, may not be read, is a folder or is a kind of file not accepted.
    ReadableFile(const std::string& path, AcceptedInput accepted);

    // Opens path as a regular file of the size just seen, without looking at it again after the
    // open: a look costs a system call per file, which shows on folders of many small files. A
    // file swapped for another kind in between fails when read, one of another size is caught by
    // the reads and by CheckSizeUnchanged. Throws FileOpenError as the constructor above.
    ReadableFile(const std::string& path, SeenRegularFile seen);

    // Opens the entry called name inside folder, as the constructor above opens a path, with
    // no limit on how deep the folder lies. Messages name displayPath.
    ReadableFile(const Folder& folder, const std::string& name, std::string displayPath,
                 AcceptedInput accepted);

    const std::string& Path() const { return path_; }
    bool IsRegular() const { return regular_; }
    // The size when the file was opened; 0 for a pipe.
    std::uint64_t Size() const { return size_; }

    // Reads up to count bytes from offset (regular files only), retrying interrupted calls.
    // Returns 0 at the end of the file. Throws InputOutputError naming the file on a read error.
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count);

    // Reads up to count bytes from the current position, as ReadAt does; for pipes too.
    std::size_t Read(void* buffer, std::size_t count);

    // Tells the system that the file will be read from start to end, so it reads ahead.
    void AdviseSequentialReading();

    // Throws InputOutputError naming the file when its size now differs from Size(): it was
    // written while it was read, and what was read is no digest of any state of it.
    void CheckSizeUnchanged() const;

private:
    void FinishOpen(AcceptedInput accepted);
    [[noreturn]] void FailRead(int errorNumber) const;

    std::string path_;
    NativeHandle handle_;
    std::uint64_t size_ = 0;
    bool regular_ = false;
};

} // namespace quorvix
