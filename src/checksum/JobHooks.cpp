#include "checksum/JobHooks.h"

#include "checksum/FileDigest.h"

namespace quorvix {

std::string JobHooks::DigestText(const std::string& path) const {
    return fileDigestText ? fileDigestText(path) : FileDigestText(path);
}

LocalDateTime JobHooks::Now() const {
    return localTime ? localTime() : CurrentLocalTime();
}

char JobHooks::TimeSeparator() const {
    return timeSeparator != '\0' ? timeSeparator : LocaleTimeSeparator();
}

} // namespace quorvix
