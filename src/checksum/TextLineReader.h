// Reads a check file line by line without ever holding it whole.
#pragma once

#include "platform/ReadableFile.h"

#include <cstddef>
#include <memory>
#include <string>

namespace quorvix {

// The lines of a text file as a check file is read. CR LF and a lone LF end a line; any other CR
// is dropped. The last line needs no line end, and no empty line follows a final line end. A
// Ctrl-Z (0x1A) where a line would begin ends the file; one inside a line ends that line's text,
// the rest of the line is passed over, and a further Ctrl-Z in that rest ends the file. A
// byte-order mark is ordinary text. A line longer than MaxLineLength is passed over whole
// without being held, so memory stays flat on any input: no path a system can open is that long.
class TextLineReader {
public:
    // Opens the file for reading. Throws FileOpenError when it does not exist, may not be read,
    // or is a folder, device or socket (a regular file or a pipe is read).
    explicit TextLineReader(const std::string& path);

    // Puts the next line, without its line end, into line and returns true; returns false at the
    // end of the file. Throws InputOutputError when reading fails.
    bool NextLine(std::string& line);

    // Size of the pieces read from the system.
    static constexpr std::size_t ChunkSize = 256 * 1024;
    // The longest line text yielded. Paths on Linux stop at 4 KiB and on Windows at 32 Ki
    // UTF-16 units, so a longer line can hold no entry that names a file.
    static constexpr std::size_t MaxLineLength = 1024 * 1024;

private:
    // Makes at least one unread byte available; false at the end of the data.
    bool Fill();

    // Reads the next line into line; false at the end of the file. Sets overlong when the
    // line's text passed MaxLineLength (line then holds only its start).
    bool ReadLine(std::string& line, bool& overlong);

    ReadableFile file_;
    std::unique_ptr<char[]> chunk_;
    std::size_t position_ = 0; // next unread byte in chunk_
    std::size_t length_ = 0;   // valid bytes in chunk_
    bool atEnd_ = false;       // the data or a Ctrl-Z has ended the file
};

} // namespace quorvix
