#include "platform/LocalTime.h"

#include <langinfo.h>

#include <cstring>
#include <ctime>

namespace quorvix {

LocalDateTime CurrentLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

char LocaleTimeSeparator() {
    // The time format reads like "%H:%M:%S"; the separator is what follows the hours.
    const char* format = ::nl_langinfo(T_FMT);
    if (format != nullptr) {
        const char* hours = std::strstr(format, "%H");
        if (hours != nullptr && hours[2] != '\0' && hours[2] != '%') {
            return hours[2];
        }
    }
    return ':';
}

} // namespace quorvix
