// When a file's content was last written, as the system records it.
#pragma once

#include "platform/LocalTime.h"

#include <optional>
#include <string>

namespace quorvix {

// The modification time of the file at path (symbolic links followed) in local time, to the
// second, or nothing when the file cannot be looked at. Cannot fail otherwise.
std::optional<LocalDateTime> ModificationTime(const std::string& path);

} // namespace quorvix
