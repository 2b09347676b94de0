// libFuzzer target: any bytes as a check file go through the line reader and the line
// classifiers without a crash, a hang or a leak, and every md5sum or BSD line read writes back
// to a line that reads as the same entry.
#include "checksum/CheckFileFormat.h"
#include "checksum/CheckFileLineParser.h"
#include "checksum/FileDigest.h"
#include "checksum/TextLineReader.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An in-memory file keeps the fuzzer off the disk.
    const int fd = ::memfd_create("check-file", 0);
    if (fd < 0) {
        return 0;
    }
    if (size > 0 && ::write(fd, data, size) != static_cast<ssize_t>(size)) {
        ::close(fd);
        return 0;
    }
    {
        quorvix::TextLineReader reader("/proc/self/fd/" + std::to_string(fd));
        quorvix::CheckFileLineParser parser;
        std::string line;
        while (reader.NextLine(line)) {
            if (const auto parsed = parser.Parse(line);
                parsed && parsed->format != quorvix::ChecksumLineFormat::Own) {
                const std::string written =
                    parsed->format == quorvix::ChecksumLineFormat::Gnu
                        ? quorvix::GnuChecksumLine(parsed->digestField, parsed->pathField)
                        : quorvix::BsdChecksumLine(parsed->digestField, parsed->pathField);
                const auto reread = quorvix::ParseChecksumLine(written);
                // A name with '\' written unescaped by another program reads back escaped, so
                // only the bytes of the name are compared, not how separators are taken.
                if (!reread || reread->format != parsed->format ||
                    reread->pathField != parsed->pathField ||
                    quorvix::LowerCaseAscii(parsed->digestField) != reread->digestField) {
                    __builtin_trap();
                }
            }
            if (line.find('\n') != std::string::npos || line.find('\r') != std::string::npos) {
                __builtin_trap();
            }
            if (const auto entry = quorvix::ParseCheckFileLine(line)) {
                if (entry->digestField.size() != 32 ||
                    entry->pathField.find('\\') != std::string::npos) {
                    __builtin_trap();
                }
            }
        }
    }
    ::close(fd);
    return 0;
}
