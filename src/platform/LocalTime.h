// The local wall-clock time and the locale's time separator, for time stamps in files.
#pragma once

namespace quorvix {

struct LocalDateTime {
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;   // 1 to 31
    int hour = 0;  // 0 to 23
    int minute = 0;
    int second = 0;
};

// The current local date and time, to the second.
LocalDateTime CurrentLocalTime();

// The character between hours, minutes and seconds in the user's locale; ':' unless the
// locale's time format says otherwise.
char LocaleTimeSeparator();

} // namespace quorvix
