// Turning a digest line's path field into the full path of the file it names.
#pragma once

#include "checksum/ChecksumLineFormats.h"
#include "platform/LegacyEncoding.h"

#include <memory>
#include <string>

namespace quorvix {

class EntryPathResolver {
public:
    // folderPrefix is CheckFileFolderPrefix of the check file. legacyEncoding names the code page
    // (an iconv name such as "GB18030") from which a path field that is not UTF-8 is tried once
    // more; empty turns that retry off. Throws UnknownEncodingError when the system knows no
    // such encoding.
    EntryPathResolver(std::string folderPrefix, const std::string& legacyEncoding);

    // The full path of the entry: the folder prefix followed by the path field, with '\' made a
    // separator where the line's format says so. A path field that is not valid UTF-8, and
    // whose full path names no file, is converted from the legacy encoding; when the converted
    // full path names a file, that is the full path, else the unconverted one stays. Cannot
    // fail.
    std::string Resolve(const ChecksumLine& line) const;

private:
    std::string folderPrefix_;
    std::unique_ptr<LegacyDecoder> legacy_; // none when the retry is off
};

} // namespace quorvix
