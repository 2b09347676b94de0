#include "platform/ModificationTime.h"

#include "platform/win32/SystemText.h"

#include <windows.h>

namespace quorvix {

// A symbolic link's own time is given, not its target's: Windows reports the link's attributes.
std::optional<LocalDateTime> ModificationTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(win32::SystemPath(path).c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    SYSTEMTIME universal{};
    SYSTEMTIME local{};
    if (!::FileTimeToSystemTime(&data.ftLastWriteTime, &universal) ||
        !::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) {
        return std::nullopt;
    }
    return LocalDateTime{local.wYear, local.wMonth,  local.wDay,
                         local.wHour, local.wMinute, local.wSecond};
}

} // namespace quorvix
