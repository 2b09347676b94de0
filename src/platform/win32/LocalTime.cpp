#include "platform/LocalTime.h"

#include "platform/win32/SystemText.h"

#include <windows.h>

namespace quorvix {

LocalDateTime CurrentLocalTime() {
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

char LocaleTimeSeparator() {
    wchar_t separator[8] = {};
    if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STIME, separator, 8) > 1) {
        // A time stamp holds one byte here; a separator that is no single byte of the ANSI
        // code page gives the usual ':'.
        const std::string bytes = win32::AnsiText(std::wstring_view(separator, 1));
        if (bytes.size() == 1 && bytes[0] != '?') {
            return bytes[0];
        }
    }
    return ':';
}

} // namespace quorvix
