#include "checksum/JobHooks.h"

#include "platform/FileStream.h"

namespace quorvix {

Md5Digest JobHooks::DigestStream(FileStream& file) const {
    return digestStream ? digestStream(file) : DigestOfStream(file);
}

LocalDateTime JobHooks::Now() const {
    return localTime ? localTime() : CurrentLocalTime();
}

char JobHooks::TimeSeparator() const {
    return timeSeparator != '\0' ? timeSeparator : LocaleTimeSeparator();
}

} // namespace quorvix
