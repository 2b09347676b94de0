// Telling a file that changed without being written to (bit rot, a bad copy, a failing disk) from
// one that was edited, by its modification time alone.
#pragma once

#include "platform/LocalTime.h"

#include <optional>
#include <string>

namespace quorvix {

// How much earlier than the check file's time stamp a changed file's modification time must be
// before it counts as changed without a write. The stamp is local time without its zone, so an
// hour absorbs a change of daylight saving time between making and verifying.
inline constexpr int SilentChangeSlackSeconds = 3600;

// True when a file whose content differs from what the check file records was last modified
// more than SilentChangeSlackSeconds before checkFileMade: its content changed after the check
// file was made, yet nothing wrote to it since. Both times are local. Cannot fail.
bool ChangedWithoutBeingWritten(const LocalDateTime& checkFileMade,
                                const LocalDateTime& fileModified);

// The same for the file at path, using its modification time; false when checkFileMade is
// nothing (the check file has no readable time stamp) or the file cannot be looked at. Cannot
// fail.
bool ChangedWithoutBeingWritten(const std::optional<LocalDateTime>& checkFileMade,
                                const std::string& path);

} // namespace quorvix
