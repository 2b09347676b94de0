#include "checksum/EntryPathResolver.h"

#include "platform/FileSystem.h"

namespace quorvix {

EntryPathResolver::EntryPathResolver(std::string folderPrefix, const std::string& legacyEncoding)
    : folderPrefix_(std::move(folderPrefix)),
      legacy_(legacyEncoding.empty() ? nullptr : std::make_unique<LegacyDecoder>(legacyEncoding)) {}

std::string EntryPathResolver::Resolve(const ChecksumLine& line) const {
    std::string asItStands =
        folderPrefix_ + PathWithPlatformSeparators(line.pathField, line.separators);
    if (!legacy_ || IsValidUtf8(line.pathField) || line.pathField.find('\0') != std::string::npos ||
        FileExists(asItStands)) {
        return asItStands;
    }
    // Separators are found only after the conversion: in a double-byte code page the second
    // byte of a character may be 0x5C, which is no '\' there.
    const std::optional<std::string> converted = legacy_->ToUtf8(line.pathField);
    if (!converted) {
        return asItStands;
    }
    std::string retried = folderPrefix_ + PathWithPlatformSeparators(*converted, line.separators);
    return FileExists(retried) ? retried : asItStands;
}

} // namespace quorvix
