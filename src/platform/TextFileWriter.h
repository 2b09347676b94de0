// Writes a text file of CR LF lines so that the old file is never lost to a failed write.
#pragma once

#include "platform/InterruptCleanup.h"
#include "platform/NativeHandle.h"

#include <memory>
#include <string>
#include <string_view>

namespace quorvix {

// True when name is that of a temporary file a writer of targetName makes (".<target>.tmp-"
// and eight lower-case letters or digits), whichever run made it: one left behind by a run that
// was killed, or one that another run is writing now. Cannot fail.
bool IsTemporaryFileName(std::string_view name, std::string_view targetName);

// The lines go to a temporary file in the target's folder, which replaces the target only when
// Commit() has written and flushed everything. Destroying the writer without a successful
// Commit() removes the temporary file and leaves the target as it was; so does an interrupt of a
// command-line program (RemoveTemporaryFilesOnInterrupt). A symbolic link is followed and the
// file it names replaced, the link kept. A target that exists but is no regular file (a device,
// a FIFO) is written in place, since replacing it would destroy it.
class TextFileWriter {
public:
    // Creates the temporary file beside the target. Throws InputOutputError naming the target
    // when its folder does not exist or may not be written, when it is a folder, or when it
    // exists and may not be written (a read-only file is refused, not replaced).
    explicit TextFileWriter(std::string targetPath);
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;
    ~TextFileWriter();

    // Appends the bytes of text and CR LF. Throws InputOutputError when writing fails.
    void WriteLine(std::string_view text);

    // Writes what is buffered, closes the file and puts it in the target's place. Throws
    // InputOutputError when any of this fails; the target is then unchanged.
    void Commit();

private:
    void Flush();
    [[noreturn]] void Fail(const std::string& what, int errorNumber) const;

    std::string targetPath_;    // as given; messages name it
    std::string replacedPath_;  // the file that gets replaced: the target, links followed
    std::string temporaryPath_; // empty when the target is written in place
    std::unique_ptr<InterruptCleanupEntry> cleanup_;
    NativeHandle fd_;
    std::string pending_;
    bool committed_ = false;
};

} // namespace quorvix
