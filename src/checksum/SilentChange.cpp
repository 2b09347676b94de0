#include "checksum/SilentChange.h"

#include "platform/ModificationTime.h"

#include <chrono>

namespace quorvix {
namespace {

// Seconds since 1970-01-01 00:00:00 on the same wall clock, as if the clock had no zone; enough
// to compare two local times to the second.
std::chrono::seconds WallClockSeconds(const LocalDateTime& time) {
    using namespace std::chrono;
    const sys_days date{year(time.year) / month(static_cast<unsigned>(time.month)) /
                        day(static_cast<unsigned>(time.day))};
    return date.time_since_epoch() + hours(time.hour) + minutes(time.minute) + seconds(time.second);
}

} // namespace

bool ChangedWithoutBeingWritten(const LocalDateTime& checkFileMade,
                                const LocalDateTime& fileModified) {
    return WallClockSeconds(fileModified) + std::chrono::seconds(SilentChangeSlackSeconds) <
           WallClockSeconds(checkFileMade);
}

bool ChangedWithoutBeingWritten(const std::optional<LocalDateTime>& checkFileMade,
                                const std::string& path) {
    if (!checkFileMade) {
        return false;
    }
    const std::optional<LocalDateTime> modified = ModificationTime(path);
    return modified && ChangedWithoutBeingWritten(*checkFileMade, *modified);
}

} // namespace quorvix
